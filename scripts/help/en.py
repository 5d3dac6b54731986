# English help pages.  Each page: (title, body).  Links to other pages name the page without
# its language ("hlp_frmDaily.htm"); the help window opens the page of the reader's language.
# Link commands: "==site" the service's web site, "[]<file>" a help video beside the program,
# ">><window>" a window of the program.

CONTENTS = "Contents"
ERROR_TITLE = "Page not found"

PAGES = {
"hlp_index": ("Tarvelo Desktop help", """
<p>Tarvelo Desktop records your working time and your expenses on your computer and sends them
to your account on the Tarvelo Web Service.</p>
<h3>Getting started</h3>
<ul>
<li><a href="hlp_WhatIs.htm">What is Tarvelo Desktop</a></li>
<li><a href="hlp_Login.htm">First time sign-in</a>: link your computer account to your Tarvelo account</li>
</ul>
<h3>The windows of the program</h3>
<ul>
<li><a href="hlp_frmStart.htm">Live Recording</a>: timers that record your time while you work</li>
<li><a href="hlp_frmDaily.htm">Daily Time Log</a>: the time entries of one day</li>
<li><a href="hlp_frmDailyExp.htm">Daily Expenses</a>: the expenses of one day</li>
<li><a href="hlp_frmSynch.htm">Synchronisation</a>: send your entries and download your projects</li>
<li><a href="hlp_frmOptions.htm">Options</a>: your account, working hours, language, hot key</li>
</ul>
<h3>Help videos</h3>
<ul>
<li><a href="[]hlp_LiveRecording.gif">Recording time with the timers</a></li>
<li><a href="[]hlp_RecordTime.gif">Entering time in the daily log</a></li>
</ul>
<p>The Tarvelo Web Service itself: <a href="==site">open its web site</a> in your browser.</p>
"""),

"hlp_WhatIs": ("What is Tarvelo Desktop", """
<p>Tarvelo Desktop is the desktop companion of the Tarvelo Web Service, where your organisation
keeps its projects, tasks and activities. With it you can:</p>
<ul>
<li>record your working time live with timers, started and stopped from the
<a href=">>frmStart">timers window</a>, from the menu of its icon beside the clock, or with
a hot key (Ctrl+F10 unless you choose another one);</li>
<li>keep a <a href="hlp_frmDaily.htm">daily time log</a> and your
<a href="hlp_frmDailyExp.htm">daily expenses</a>, even without an Internet connection;</li>
<li>send what you recorded to the service and download your projects, tasks and activities in
the <a href="hlp_frmSynch.htm">synchronisation window</a>.</li>
</ul>
<h3>Where your data lives</h3>
<p>Everything you record is kept in a password-protected database file in the program's folder,
one profile for each person who uses the computer. Each entry shows whether it has been sent:</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Mark</th><th>Meaning</th></tr>
<tr><td>Normal</td><td>saved on this computer, not sent yet</td></tr>
<tr><td>Tick</td><td>accepted by the service; the entry can no longer be changed</td></tr>
<tr><td>Arrows</td><td>sending failed; it will be sent again</td></tr>
<tr><td>Question mark</td><td>rejected by the service; correct it and send it again</td></tr>
<tr><td>Plus</td><td>a new or free row that has no task (time) or no category (expenses) yet</td></tr>
</table>
<h3>The main window</h3>
<p>The bar on the left opens the windows: <b>Timers</b>, <b>Time Log</b>, <b>Expenses</b> and
<b>Synchronise</b>. Below the windows you see your name and four flags that switch the
language of the whole program at once. The status line at the bottom tells you what the
program is doing and whether you are connected to the Internet.</p>
<p>Every day, at the first start with a connection, the program downloads your projects,
tasks and activities by itself.</p>
"""),

"hlp_Login": ("First time sign-in", """
<p>The first time you start Tarvelo Desktop on this computer, it creates its database and then
opens the sign-in window, which links your computer account to your account on the
Tarvelo Web Service. <a href=">>frmLogin">Show the sign-in window</a> (for reading only).</p>
<ol>
<li><b>PC User Name</b> shows the name you use to log on to this computer. Your profile is
kept under that name.</li>
<li>Type the <b>User Name</b> and the <b>Password</b> of your Tarvelo account, and the
password once more in <b>Retype Password</b>.</li>
<li>Click <b>Authenticate</b>. The program asks the service whether the account exists; this
needs an Internet connection. The Info box shows the answer: the full name the service knows,
or why the check failed (wrong user name or password, no connection).</li>
<li>When the check succeeds, click <b>OK</b>. The program creates your local profile and opens
the timers window. Your projects are downloaded at once.</li>
</ol>
<p><b>Cancel</b> leaves without creating a profile; the program then closes, because it cannot
work without one. Your password is stored encrypted. You can change the account later in the
<a href="hlp_frmOptions.htm">options</a>.</p>
"""),

"hlp_frmStart": ("Live Recording", """
<p>The timers window records your time while you work. Each row of its list is a timer for
one activity of a task of your projects; only one timer runs at a time.
<a href=">>frmStart">Bring the timers window to the front</a> or
<a href="[]hlp_LiveRecording.gif">watch the help video</a>.</p>
<h3>Loading timers</h3>
<ul>
<li><b>Add</b> opens the list of your projects: tick the activities you want to record and
confirm. Each becomes a timer in the list.</li>
<li><b>Remove</b> takes the selected timer out of the list. A running timer cannot be
removed: stop it first.</li>
</ul>
<h3>Recording</h3>
<ul>
<li><b>Start</b> starts the selected timer; a running timer is stopped first.</li>
<li><b>Stop</b> stops the selected timer and saves its time as an entry of the
<a href="hlp_frmDaily.htm">daily time log</a>.</li>
<li><b>Cancel</b> stops the selected timer without saving its time.</li>
<li><b>Quick Record</b> starts a new recording at once; you choose its task and activity
afterwards with the arrow beside <b>Project</b>.</li>
</ul>
<p><b>Current Activity</b> shows the selected timer: when it started and the time that has
passed. In <b>Edit Activity</b> you choose its project, task and activity with the arrow and
write a comment, which is saved with the time.</p>
<h3>Without the window</h3>
<p>The icon beside the clock has a menu to open or hide the program, start a quick record and
stop the recording; while a timer runs, the icon moves. The hot key (Ctrl+F10 unless you chose
another one in the <a href="hlp_frmOptions.htm">options</a>) starts and stops the recording
from any program.</p>
<p>When you close the program while a timer runs, it asks whether to save the time. Timers
that are stopped but not saved are kept for the next start.</p>
<h3>Menus</h3>
<ul>
<li><b>File</b>: Check for Updates, About, Exit.</li>
<li><b>Options</b>: the <a href="hlp_frmOptions.htm">options window</a> (not while a timer runs).</li>
<li><b>Help</b>: this help, the help on this window and the help video.</li>
</ul>
"""),

"hlp_frmDaily": ("Daily Time Log", """
<p>The daily log lists the time entries of one day: their activity, start and end.
<a href=">>frmDaily">Open the daily time log</a> or
<a href="[]hlp_RecordTime.gif">watch the help video</a>.</p>
<h3>Choosing the day</h3>
<ul>
<li><b>Select a Date</b> lists the days that have entries, and today.</li>
<li>The arrow buttons go to the previous and the next day with entries.</li>
<li><b>New Day</b> opens a calendar to add another day (not a day after today, nor a day
that is already in the list); <b>Delete Day</b> deletes every entry of the day shown.</li>
</ul>
<h3>Entering time</h3>
<ol>
<li>Click <b>New</b>. The program fills the first free row of the day, or adds a row.</li>
<li>Set <b>Start Time</b> and <b>End Time</b>: type them as hh:mm, or click the captions to
use the time picker. The duration follows; you can also type the hours, minutes and seconds
of the duration.</li>
<li>Choose the project, task and activity with the arrow beside <b>Project</b> and write a
comment if you like.</li>
<li>Click <b>Save</b>. An entry may not overlap another entry of the day, nor the running
timer.</li>
</ol>
<p><b>Delete</b> deletes the selected entry; <b>Close</b> closes the window and asks first when
an entry has unsaved changes. An entry accepted by the service is grey and can no longer be
changed.</p>
<h3>Menus</h3>
<ul>
<li><b>Logs</b>: Add New, Save, Delete Selected, Delete All Day Logs, and <b>Free/Busy Time</b>,
which shows the free parts of your working day as rows you can turn into entries.</li>
<li><b>Days</b>: add a day, delete the day, delete all days.</li>
<li><b>Synch</b>: send the selected entry or every unsent entry of the day to the service.
When "send saved entries at once" is on in the <a href="hlp_frmOptions.htm">options</a>,
each entry is sent as soon as you save it.</li>
</ul>
"""),

"hlp_frmDailyExp": ("Daily Expenses", """
<p>The expenses window lists the expenses of one day with their amount, payee and category,
and their total. It opens only when at least one of your projects accepts expenses.
<a href=">>frmDailyExp">Open the daily expenses</a>.</p>
<h3>Choosing the day</h3>
<p>As in the <a href="hlp_frmDaily.htm">daily time log</a>: the list of days, the previous and
next buttons, <b>New Day</b> with the calendar and <b>Delete Day</b>.</p>
<h3>Entering an expense</h3>
<ol>
<li>Click <b>New</b>.</li>
<li>Choose the <b>category</b> of the expense, type the <b>payee</b> or pick one you used
before, and type the <b>amount</b>; the calculator beside it helps you add up a receipt.</li>
<li>Choose the project and task the expense belongs to with the arrow, and the time of day
with the time picker. A receipt code and a comment are optional.</li>
<li>Click <b>Save</b>. The total of the day is shown below the list.</li>
</ol>
<p><b>Delete</b> deletes the selected expense and <b>Close</b> closes the window, asking first
about unsaved changes.</p>
<h3>Menus</h3>
<ul>
<li><b>Expenses</b>: add, save, delete, and delete the expenses of the day or of every day
that the service has already accepted.</li>
<li><b>Days</b>: add a day, delete the day, delete all days.</li>
<li><b>Synch</b>: send the selected expense or every unsent expense of the day.</li>
</ul>
"""),

"hlp_frmSynch": ("Synchronisation", """
<p>The synchronisation window exchanges your data with the Tarvelo Web Service. It needs an
Internet connection; without one the program asks before it opens the window.
<a href=">>frmSynch">Open the synchronisation window</a>.</p>
<h3>Update Tables</h3>
<p>Downloads your projects, tasks, activities and expense categories. The list on the left
then shows what was received; items that no longer exist on the service are removed from this
computer. The program also does this by itself once a day.</p>
<h3>Synch Time &amp; Expenses</h3>
<p>Sends every time entry and expense that has not been accepted yet:</p>
<ul>
<li>In <b>Time Logs</b> and <b>Expenses</b> choose the first and the last day to send
(<b>From</b> and <b>To</b>), or &lt;ALL&gt;.</li>
<li>Tick <b>Do NOT Synch</b> to leave time logs or expenses out.</li>
</ul>
<p>The <b>Connection Log</b> on the left lists each step and the answer of the service; click
a line to read it whole below the list. The <b>View</b> menu switches between the log and the
projects and expense categories received last, and expands or collapses them.</p>
<p><b>Close</b> closes the window.</p>
"""),

"hlp_frmOptions": ("Options", """
<p>The options window holds the settings of your profile. It cannot be opened while a timer is
running. <a href=">>frmOptions">Open the options</a>.</p>
<h3>User</h3>
<p>Your Tarvelo user name and password. <b>Verify</b> checks them with the service before you
save (this needs an Internet connection).</p>
<h3>Options</h3>
<p>Choose an option in the tree on the left; its setting appears beside it:</p>
<ul>
<li><b>Working hours</b>: the start and end of your working day, used for new entries and
for the free time of the <a href="hlp_frmDaily.htm">daily time log</a>.</li>
<li><b>Language</b>: the language of the program.</li>
<li><b>Hot key</b>: press the new key combination in the box; <b>Remove</b> switches the hot
key off.</li>
<li><b>Yes / No</b> options: start with the desktop, send saved entries at once, check for new
versions, show balloon messages beside the clock.</li>
<li><b>Time-out</b>: how many seconds the program waits for the service.</li>
</ul>
<h3>Buttons</h3>
<ul>
<li><b>Save</b> keeps your changes; <b>Close</b> closes the window.</li>
<li>Cancelling the changes shows the settings in force again.</li>
<li>Restoring the defaults sets every option back to its first value (your account and language stay).</li>
</ul>
"""),
}

ERROR_BODY = """
<p>This help page is not available. It may not have been installed with the program.</p>
<p>Go back with the arrow of the toolbar, or open the <a href="hlp_index.htm">contents of the
help</a>.</p>
"""
