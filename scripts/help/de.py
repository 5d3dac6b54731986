# German help pages (see en.py).

CONTENTS = "Inhalt"
ERROR_TITLE = "Seite nicht gefunden"

PAGES = {
"hlp_index": ("Hilfe zu Tarvelo Desktop", """
<p>Tarvelo Desktop erfasst Ihre Arbeitszeit und Ihre Ausgaben auf Ihrem Computer und sendet sie
an Ihr Konto beim Tarvelo Web Service.</p>
<h3>Erste Schritte</h3>
<ul>
<li><a href="hlp_WhatIs.htm">Was ist Tarvelo Desktop</a></li>
<li><a href="hlp_Login.htm">Erste Anmeldung</a>: Ihr Computerkonto mit Ihrem Tarvelo-Konto verbinden</li>
</ul>
<h3>Die Fenster des Programms</h3>
<ul>
<li><a href="hlp_frmStart.htm">Live-Erfassung</a>: Timer, die Ihre Zeit messen, während Sie arbeiten</li>
<li><a href="hlp_frmDaily.htm">Tägliches Zeitprotokoll</a>: die Zeiteinträge eines Tages</li>
<li><a href="hlp_frmDailyExp.htm">Tagesausgaben</a>: die Ausgaben eines Tages</li>
<li><a href="hlp_frmSynch.htm">Synchronisierung</a>: Einträge senden und Projekte herunterladen</li>
<li><a href="hlp_frmOptions.htm">Optionen</a>: Konto, Arbeitszeit, Sprache, Tastenkürzel</li>
</ul>
<h3>Hilfevideos</h3>
<ul>
<li><a href="[]hlp_LiveRecording.gif">Zeit mit den Timern erfassen</a></li>
<li><a href="[]hlp_RecordTime.gif">Zeit im Tagesprotokoll eintragen</a></li>
</ul>
<p>Der Tarvelo Web Service selbst: <a href="==site">seine Website</a> im Browser öffnen.</p>
"""),

"hlp_WhatIs": ("Was ist Tarvelo Desktop", """
<p>Tarvelo Desktop ist der Desktop-Begleiter des Tarvelo Web Service, in dem Ihre Organisation
ihre Projekte, Aufgaben und Tätigkeiten führt. Damit können Sie:</p>
<ul>
<li>Ihre Arbeitszeit live mit Timern erfassen, die Sie im <a href=">>frmStart">Timer-Fenster</a>,
im Menü seines Symbols neben der Uhr oder mit einem Tastenkürzel (Strg+F10, sofern Sie kein
anderes wählen) starten und anhalten;</li>
<li>ein <a href="hlp_frmDaily.htm">tägliches Zeitprotokoll</a> und Ihre
<a href="hlp_frmDailyExp.htm">Tagesausgaben</a> führen, auch ohne Internetverbindung;</li>
<li>das Erfasste an den Dienst senden und Ihre Projekte, Aufgaben und Tätigkeiten im
<a href="hlp_frmSynch.htm">Synchronisierungsfenster</a> herunterladen.</li>
</ul>
<h3>Wo Ihre Daten liegen</h3>
<p>Alles, was Sie erfassen, wird in einer kennwortgeschützten Datenbankdatei im Programmordner
gespeichert, mit einem Profil für jede Person, die den Computer benutzt. Jeder Eintrag zeigt, ob
er gesendet wurde:</p>
<table border="1" cellpadding="3" cellspacing="0">
<tr><th>Zeichen</th><th>Bedeutung</th></tr>
<tr><td>Normal</td><td>auf diesem Computer gespeichert, noch nicht gesendet</td></tr>
<tr><td>Haken</td><td>vom Dienst angenommen; der Eintrag kann nicht mehr geändert werden</td></tr>
<tr><td>Pfeile</td><td>das Senden ist fehlgeschlagen; er wird erneut gesendet</td></tr>
<tr><td>Fragezeichen</td><td>vom Dienst abgelehnt; korrigieren Sie ihn und senden Sie ihn erneut</td></tr>
<tr><td>Plus</td><td>eine neue oder freie Zeile ohne Aufgabe (Zeit) oder ohne Kategorie (Ausgaben)</td></tr>
</table>
<h3>Das Hauptfenster</h3>
<p>Die Leiste links öffnet die Fenster: <b>Timer</b>, <b>Zeitprotokoll</b>, <b>Ausgaben</b> und
<b>Synchronisieren</b>. Unter den Fenstern stehen Ihr Name und vier Flaggen, die die Sprache des
ganzen Programms auf einmal umschalten. Die Statuszeile unten zeigt, was das Programm gerade tut
und ob Sie mit dem Internet verbunden sind.</p>
<p>Jeden Tag lädt das Programm beim ersten Start mit Verbindung Ihre Projekte, Aufgaben und
Tätigkeiten von selbst herunter.</p>
"""),

"hlp_Login": ("Erste Anmeldung", """
<p>Wenn Sie Tarvelo Desktop auf diesem Computer zum ersten Mal starten, legt es seine Datenbank
an und öffnet dann das Anmeldefenster, das Ihr Computerkonto mit Ihrem Konto beim Tarvelo Web
Service verbindet. <a href=">>frmLogin">Das Anmeldefenster zeigen</a> (nur zum Lesen).</p>
<ol>
<li><b>PC-Benutzername</b> zeigt den Namen, mit dem Sie sich an diesem Computer anmelden. Ihr
Profil wird unter diesem Namen geführt.</li>
<li>Geben Sie den <b>Benutzernamen</b> und das <b>Passwort</b> Ihres Tarvelo-Kontos ein und das
Passwort noch einmal unter <b>Passwort wiederholen</b>.</li>
<li>Klicken Sie auf <b>Authentifizieren</b>. Das Programm fragt den Dienst, ob das Konto
existiert; dazu ist eine Internetverbindung nötig. Der Rahmen Info zeigt die Antwort: den vollen
Namen, den der Dienst kennt, oder warum die Prüfung fehlschlug (falscher Name oder falsches
Passwort, keine Verbindung).</li>
<li>Ist die Prüfung gelungen, klicken Sie auf <b>OK</b>. Das Programm legt Ihr lokales Profil an
und öffnet das Timer-Fenster. Ihre Projekte werden sofort heruntergeladen.</li>
</ol>
<p><b>Abbrechen</b> verlässt das Fenster, ohne ein Profil anzulegen; das Programm wird dann
beendet, weil es ohne Profil nicht arbeiten kann. Ihr Passwort wird verschlüsselt gespeichert.
Das Konto können Sie später in den <a href="hlp_frmOptions.htm">Optionen</a> ändern.</p>
"""),

"hlp_frmStart": ("Live-Erfassung", """
<p>Das Timer-Fenster erfasst Ihre Zeit, während Sie arbeiten. Jede Zeile seiner Liste ist ein
Timer für eine Tätigkeit einer Aufgabe Ihrer Projekte; es läuft immer nur ein Timer.
<a href=">>frmStart">Das Timer-Fenster nach vorn holen</a> oder
<a href="[]hlp_LiveRecording.gif">das Hilfevideo ansehen</a>.</p>
<h3>Timer laden</h3>
<ul>
<li><b>Hinzufügen</b> öffnet die Liste Ihrer Projekte: Haken Sie die Tätigkeiten an, die Sie
erfassen wollen, und bestätigen Sie. Jede wird ein Timer in der Liste.</li>
<li><b>Entfernen</b> nimmt den ausgewählten Timer aus der Liste. Ein laufender Timer kann nicht
entfernt werden: Halten Sie ihn zuerst an.</li>
</ul>
<h3>Erfassen</h3>
<ul>
<li><b>Start</b> startet den ausgewählten Timer; ein laufender Timer wird zuvor angehalten.</li>
<li><b>Stopp</b> hält den ausgewählten Timer an und speichert seine Zeit als Eintrag im
<a href="hlp_frmDaily.htm">täglichen Zeitprotokoll</a>.</li>
<li><b>Abbrechen</b> hält den ausgewählten Timer an, ohne seine Zeit zu speichern.</li>
<li><b>Schnellerfassung</b> startet sofort eine neue Erfassung; Aufgabe und Tätigkeit wählen
Sie danach mit dem Pfeil neben <b>Projekt</b>.</li>
</ul>
<p><b>Aktuelle Tätigkeit</b> zeigt den ausgewählten Timer: wann er gestartet wurde und wie viel
Zeit vergangen ist. Unter <b>Tätigkeit bearbeiten</b> wählen Sie mit dem Pfeil Projekt, Aufgabe
und Tätigkeit und schreiben einen Kommentar, der mit der Zeit gespeichert wird.</p>
<h3>Ohne das Fenster</h3>
<p>Das Symbol neben der Uhr hat ein Menü, um das Programm zu öffnen oder auszublenden, eine
Schnellerfassung zu starten und die Erfassung zu beenden; solange ein Timer läuft, bewegt sich
das Symbol. Das Tastenkürzel (Strg+F10, sofern Sie in den <a href="hlp_frmOptions.htm">Optionen</a>
kein anderes gewählt haben) startet und beendet die Erfassung aus jedem Programm heraus.</p>
<p>Wenn Sie das Programm schließen, während ein Timer läuft, fragt es, ob die Zeit gespeichert
werden soll. Angehaltene, nicht gespeicherte Timer bleiben für den nächsten Start erhalten.</p>
<h3>Menüs</h3>
<ul>
<li><b>Datei</b>: Nach Updates suchen, Über, Beenden.</li>
<li><b>Optionen</b>: das <a href="hlp_frmOptions.htm">Optionen-Fenster</a> (nicht, solange ein Timer läuft).</li>
<li><b>Hilfe</b>: diese Hilfe, die Hilfe zu diesem Fenster und das Hilfevideo.</li>
</ul>
"""),

"hlp_frmDaily": ("Tägliches Zeitprotokoll", """
<p>Das Tagesprotokoll listet die Zeiteinträge eines Tages: ihre Tätigkeit, ihren Beginn und ihr
Ende. <a href=">>frmDaily">Das tägliche Zeitprotokoll öffnen</a> oder
<a href="[]hlp_RecordTime.gif">das Hilfevideo ansehen</a>.</p>
<h3>Den Tag wählen</h3>
<ul>
<li><b>Datum wählen</b> listet die Tage mit Einträgen und den heutigen Tag.</li>
<li>Die Pfeiltasten gehen zum vorigen und zum nächsten Tag mit Einträgen.</li>
<li><b>Neuer Tag</b> öffnet einen Kalender, um einen weiteren Tag hinzuzufügen (keinen Tag nach
heute und keinen, der schon in der Liste steht); <b>Tag löschen</b> löscht alle Einträge des
angezeigten Tages.</li>
</ul>
<h3>Zeit eintragen</h3>
<ol>
<li>Klicken Sie auf <b>Neu</b>. Das Programm füllt die erste freie Zeile des Tages oder fügt
eine Zeile an.</li>
<li>Setzen Sie <b>Beginn</b> und <b>Ende</b>: Tippen Sie sie als hh:mm ein oder klicken Sie auf
ihre Beschriftung, um die Zeitauswahl zu benutzen. Die Dauer folgt; Sie können auch Stunden,
Minuten und Sekunden der Dauer eintippen.</li>
<li>Wählen Sie Projekt, Aufgabe und Tätigkeit mit dem Pfeil neben <b>Projekt</b> und schreiben
Sie bei Bedarf einen Kommentar.</li>
<li>Klicken Sie auf <b>Speichern</b>. Ein Eintrag darf sich weder mit einem anderen Eintrag des
Tages noch mit dem laufenden Timer überschneiden.</li>
</ol>
<p><b>Löschen</b> löscht den ausgewählten Eintrag; <b>Schließen</b> schließt das Fenster und
fragt zuvor, wenn ein Eintrag ungespeicherte Änderungen hat. Ein vom Dienst angenommener Eintrag
ist grau und kann nicht mehr geändert werden.</p>
<h3>Menüs</h3>
<ul>
<li><b>Einträge</b>: neu, speichern, Auswahl löschen, alle Einträge des Tages löschen, und
<b>Freie/belegte Zeit</b>, das die freien Abschnitte Ihres Arbeitstages als Zeilen zeigt, die Sie
zu Einträgen machen können.</li>
<li><b>Tage</b>: Tag hinzufügen, Tag löschen, alle Tage löschen.</li>
<li><b>Synchronisieren</b>: den ausgewählten Eintrag oder alle nicht gesendeten Einträge des
Tages an den Dienst senden. Ist in den <a href="hlp_frmOptions.htm">Optionen</a> das sofortige
Senden eingeschaltet, wird jeder Eintrag gesendet, sobald Sie ihn speichern.</li>
</ul>
"""),

"hlp_frmDailyExp": ("Tagesausgaben", """
<p>Das Ausgabenfenster listet die Ausgaben eines Tages mit Betrag, Empfänger und Kategorie sowie
ihre Summe. Es öffnet sich nur, wenn mindestens eines Ihrer Projekte Ausgaben zulässt.
<a href=">>frmDailyExp">Die Tagesausgaben öffnen</a>.</p>
<h3>Den Tag wählen</h3>
<p>Wie im <a href="hlp_frmDaily.htm">täglichen Zeitprotokoll</a>: die Liste der Tage, die Tasten
für den vorigen und den nächsten Tag, <b>Neuer Tag</b> mit dem Kalender und <b>Tag löschen</b>.</p>
<h3>Eine Ausgabe eintragen</h3>
<ol>
<li>Klicken Sie auf <b>Neu</b>.</li>
<li>Wählen Sie die <b>Kategorie</b> der Ausgabe, tippen Sie den <b>Empfänger</b> ein oder wählen
Sie einen früher benutzten, und tippen Sie den <b>Betrag</b> ein; der Rechner daneben hilft beim
Zusammenzählen eines Belegs.</li>
<li>Wählen Sie mit dem Pfeil Projekt und Aufgabe der Ausgabe und mit der Zeitauswahl die
Uhrzeit. Belegnummer und Kommentar sind freiwillig.</li>
<li>Klicken Sie auf <b>Speichern</b>. Die Summe des Tages steht unter der Liste.</li>
</ol>
<p><b>Löschen</b> löscht die ausgewählte Ausgabe und <b>Schließen</b> schließt das Fenster,
nachdem es zu ungespeicherten Änderungen gefragt hat.</p>
<h3>Menüs</h3>
<ul>
<li><b>Ausgaben</b>: neu, speichern, löschen, und die vom Dienst schon angenommenen Ausgaben des
Tages oder aller Tage löschen.</li>
<li><b>Tage</b>: Tag hinzufügen, Tag löschen, alle Tage löschen.</li>
<li><b>Synchronisieren</b>: die ausgewählte Ausgabe oder alle nicht gesendeten Ausgaben des
Tages senden.</li>
</ul>
"""),

"hlp_frmSynch": ("Synchronisierung", """
<p>Das Synchronisierungsfenster tauscht Ihre Daten mit dem Tarvelo Web Service aus. Es braucht
eine Internetverbindung; ohne Verbindung fragt das Programm, bevor es das Fenster öffnet.
<a href=">>frmSynch">Das Synchronisierungsfenster öffnen</a>.</p>
<h3>Tabellen aktualisieren</h3>
<p>Lädt Ihre Projekte, Aufgaben, Tätigkeiten und Ausgabenkategorien herunter. Die Liste links
zeigt danach, was empfangen wurde; was es beim Dienst nicht mehr gibt, wird von diesem Computer
entfernt. Das Programm tut dies auch von selbst einmal am Tag.</p>
<h3>Zeit und Ausgaben synchronisieren</h3>
<p>Sendet jeden Zeiteintrag und jede Ausgabe, die noch nicht angenommen wurden:</p>
<ul>
<li>Wählen Sie unter <b>Zeitprotokolle</b> und <b>Ausgaben</b> den ersten und den letzten zu
sendenden Tag (<b>Von</b> und <b>Bis</b>) oder &lt;ALL&gt; für alle.</li>
<li>Haken Sie <b>NICHT synchronisieren</b> an, um Zeiten oder Ausgaben auszulassen.</li>
</ul>
<p>Das <b>Verbindungsprotokoll</b> links listet jeden Schritt und die Antwort des Dienstes;
klicken Sie auf eine Zeile, um sie unter der Liste vollständig zu lesen. Das Menü <b>Ansicht</b>
wechselt zwischen dem Protokoll und den zuletzt empfangenen Projekten und Ausgabenkategorien
und klappt sie auf oder zu.</p>
<p><b>Schließen</b> schließt das Fenster.</p>
"""),

"hlp_frmOptions": ("Optionen", """
<p>Das Optionen-Fenster enthält die Einstellungen Ihres Profils. Es lässt sich nicht öffnen,
solange ein Timer läuft. <a href=">>frmOptions">Die Optionen öffnen</a>.</p>
<h3>Benutzer</h3>
<p>Ihr Tarvelo-Benutzername und Ihr Passwort. <b>Prüfen</b> fragt sie beim Dienst nach, bevor Sie
speichern (dazu ist eine Internetverbindung nötig).</p>
<h3>Optionen</h3>
<p>Wählen Sie eine Option im Baum links; ihre Einstellung erscheint daneben:</p>
<ul>
<li><b>Arbeitszeit</b>: Beginn und Ende Ihres Arbeitstages, für neue Einträge und für die freie
Zeit im <a href="hlp_frmDaily.htm">Tagesprotokoll</a>.</li>
<li><b>Sprache</b>: die Sprache des Programms.</li>
<li><b>Tastenkürzel</b>: Drücken Sie die neue Tastenkombination im Feld; <b>Entfernen</b>
schaltet das Tastenkürzel ab.</li>
<li><b>Ja / Nein</b>-Optionen: mit dem Desktop starten, gespeicherte Einträge sofort senden,
nach neuen Versionen suchen, Sprechblasen neben der Uhr zeigen.</li>
<li><b>Zeitlimit</b>: wie viele Sekunden das Programm auf den Dienst wartet.</li>
</ul>
<h3>Schaltflächen</h3>
<ul>
<li><b>Speichern</b> übernimmt Ihre Änderungen; <b>Schließen</b> schließt das Fenster.</li>
<li>Das Verwerfen der Änderungen zeigt wieder die geltenden Einstellungen.</li>
<li>Die Standardwerte setzen jede Option auf ihren ersten Wert zurück (Konto und Sprache bleiben).</li>
</ul>
"""),
}

ERROR_BODY = """
<p>Diese Hilfeseite ist nicht verfügbar. Vielleicht wurde sie nicht mit dem Programm installiert.</p>
<p>Gehen Sie mit dem Pfeil der Symbolleiste zurück oder öffnen Sie den <a href="hlp_index.htm">Inhalt
der Hilfe</a>.</p>
"""
