#include "options_help/frmOptions.h"

#include "core/CCrypto.h"
#include "core/Progress.h"
#include "core/RequestGuard.h"
#include "core/clsTimePicker.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "options_help/frmHlp.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/Label.h"
#include "platform/forms/Tag.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "platform/hotkey/HotKey.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"
#include "recorder/frmStart.h"
#include "resources/Pictures.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace modMain;

namespace {

constexpr int kWidth = 6420;
constexpr int kHeight = 6600;
constexpr int kMenuHeight = 330;

// The pictures of the option tree, by their keys.
const forms::ImageList &OptionImages()
{
    static const forms::ImageList list = [] {
        forms::ImageList l;
        l.AddFromResources({QStringLiteral("folder_closed"), QStringLiteral("folder_open"), QStringLiteral("act_chk"),
                            QStringLiteral("chk_on"), QStringLiteral("chk_off"), QStringLiteral("fl_uk"),
                            QStringLiteral("fl_gr"), QStringLiteral("fl_fr"), QStringLiteral("fl_de")});
        return l;
    }();
    return list;
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &tag, int left, int top, int width, int height,
                  bool wrap = false)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    forms::SetTag(l, tag);
    l->setWordWrap(wrap);
    if (wrap)
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    forms::Move(l, left, top, width, height);
    return l;
}

QGroupBox *MakeFrame(QWidget *parent, const char *name, const QString &tag, int left, int top, int width, int height)
{
    auto *f = new QGroupBox(parent);
    f->setObjectName(QString::fromLatin1(name));
    forms::SetTag(f, tag);
    forms::Move(f, left, top, width, height);
    return f;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &tag, int left, int top, int width,
                        int height = 390)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    forms::SetTag(b, tag);
    b->setAutoDefault(false);
    forms::Move(b, left, top, width, height);
    return b;
}

QLineEdit *MakeBox(QWidget *parent, const char *name, int left, int top, int width)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    forms::Move(e, left, top, width, 330);
    return e;
}

// The modifier bit of a Shift, Ctrl or Alt key (0 for any other key).
int ModifierBit(int keyCode)
{
    switch (keyCode) {
    case 16: return 1;
    case 17: return 2;
    case 18: return 4;
    default: return 0;
    }
}

// A save's causes of failure, told together at its end.
void AddCause(QString &causes, const QString &text)
{
    if (!causes.isEmpty())
        causes += QStringLiteral("\r\n\r\n");
    causes += text;
}

} // namespace

// ---- load and unload ---------------------------------------------------------------------

frmOptions::frmOptions()
{
    setObjectName("frmOptions");
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(forms::TwipsToPixels(kWidth), forms::TwipsToPixels(kHeight));
    CreateControls();
    CreateMenus();
    PlaceInMainWindow(QStringLiteral("frmOptionsSub"));
    m_sub->adjustSize();
    // 1. Left 0, Top 0.
    m_sub->move(0, 0);
    // 2. The picker.
    m_Picker = new clsTimePicker(this);
    m_Picker->SetFrm(this);
    if (auto *exit = picPicker->findChild<forms::Label *>(QStringLiteral("lblExit")))
        connect(exit, &forms::Label::Click, this, &frmOptions::lblExit_Click);
    // 3. The notes by the connection state, read once.
    if (IsConnected) {
        forms::SetTag(lbl[13], QStringLiteral("702"));
        forms::SetTag(lbl[3], QStringLiteral("703"));
    } else {
        forms::SetTag(lbl[13], QStringLiteral("757"));
        forms::SetTag(lbl[3], QString());
    }
    // 4.-6.
    ApplyLang();
    lstOptions->SetImageList(&OptionImages());
    init();
    // Nothing may start a second request, nor change the settings under a check that runs.
    connect(RequestGuard::Notifier(), &RequestBusy::BusyChanged, this, [this](bool busy) { EnableCommands(!busy); });
    EnableCommands(!RequestGuard::Busy());
    // 7.
    FormLoaded[fiOptions] = true;
}

frmOptions::~frmOptions()
{
    FormLoaded[fiOptions] = false;
    if (m_Picker)
        m_Picker->Hide();
    delete m_Picker;
    // The key the window let go of comes back (after a save that is the saved one); not at the
    // end of the program, which has let go of it for good.
    if (m_keyReleased && !ProgramEnding())
        if (frmStart *timers = frmStart::Peek())
            timers->SetHotKey();
    Forget(this);
}

void frmOptions::closeEvent(QCloseEvent *e)
{
    // Not while the service is being asked: the answer comes back to this window.
    if (RequestGuard::Busy())
        e->ignore();
    else
        ChildWindow::closeEvent(e);
}

void frmOptions::CreateControls()
{
    using forms::Move;
    setAutoFillBackground(true);

    lblTitle = MakeLabel(this, "lblTitle", QStringLiteral("49"), 0, kMenuHeight, kWidth, 450);
    lblTitle->setIndent(forms::TwipsToPixels(180));
    QFont title = lblTitle->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    lblTitle->setFont(title);
    lblTitle->setAutoFillBackground(true);
    QPalette strip = lblTitle->palette();
    strip.setColor(QPalette::Window, forms::ToQColor(0xF8E8D6));
    lblTitle->setPalette(strip);

    sTab = new QTabWidget(this);
    sTab->setObjectName("sTab");
    Move(sTab, 60, kMenuHeight + 510, kWidth - 120, 4950);

    // ---- tab 0: the service credentials
    auto *tabUser = new QWidget;
    tabUser->setObjectName("tabUser");
    sTab->addTab(tabUser, QStringLiteral("User Details"));
    frUser = MakeFrame(tabUser, "frUser", QStringLiteral("701"), 120, 120, 6000, 4200);
    lbl[13] = MakeLabel(frUser, "lbl_13", QString(), 240, 360, 5520, 780, true);
    // The captions as wide as "Confirm the password:" in French, the boxes beside them.
    lblUserName = MakeLabel(frUser, "lblUserName", QStringLiteral("970"), 240, 1230, 2580, 300);
    lblPassw = MakeLabel(frUser, "lblPassw", QStringLiteral("704"), 240, 1710, 2580, 300);
    lblPasswR = MakeLabel(frUser, "lblPasswR", QStringLiteral("972"), 240, 2190, 2580, 300);
    txtUserName = MakeBox(frUser, "txtUserName", 2880, 1200, 1680);
    txtPassw = MakeBox(frUser, "txtPassw", 2880, 1680, 1680);
    txtPassw->setEchoMode(QLineEdit::Password);
    txtPasswR = MakeBox(frUser, "txtPasswR", 2880, 2160, 1680);
    txtPasswR->setEchoMode(QLineEdit::Password);
    btnVerify = MakeButton(frUser, "btnVerify", QStringLiteral("756"), 4620, 2130, 1200);
    lbl[3] = MakeLabel(frUser, "lbl_3", QString(), 240, 2760, 5520, 1200, true);
    connect(btnVerify, &QPushButton::clicked, this, &frmOptions::btnVerify_Click);

    // ---- tab 1: the option tree and its frames
    auto *tabOptions = new QWidget;
    tabOptions->setObjectName("tabOptions");
    sTab->addTab(tabOptions, QStringLiteral("Settings"));
    lblTree = MakeLabel(tabOptions, "lblTree", QStringLiteral("49"), 120, 90, 2280, 270);
    QFont bold = lblTree->font();
    bold.setBold(true);
    lblTree->setFont(bold);
    lstOptions = new forms::TreeView(tabOptions);
    lstOptions->setObjectName("lstOptions");
    Move(lstOptions, 120, 390, 3210, 3960);
    lstOptions->setIndentation(forms::TwipsToPixels(210));
    connect(lstOptions, &forms::TreeView::NodeClick, this, &frmOptions::lstOptions_NodeClick);
    for (int i = 0; i < 2; ++i) {
        btnOpen[i] = new QToolButton(tabOptions);
        btnOpen[i]->setObjectName(QStringLiteral("btnOpen_%1").arg(i));
        btnOpen[i]->setIcon(res::Icon(i == 0 ? QStringLiteral("folder_open") : QStringLiteral("folder_closed")));
        btnOpen[i]->setAutoRaise(true);
        Move(btnOpen[i], 2520 + i * 360, 45, 330, 330);
        connect(btnOpen[i], &QToolButton::clicked, this, [this, i] { btnOpen_Click(i); });
    }

    picFrames = new QWidget(tabOptions);
    picFrames->setObjectName("picFrames");
    Move(picFrames, 3360, 60, 2880, 2700);
    const int fw = 2700, fh = 2640;

    frchk = MakeFrame(picFrames, "frchk", QString(), kFrameInView, 0, fw, fh);
    frchk->setTitle(QStringLiteral("Selected Option Settings:"));
    lblOptSet = MakeLabel(frchk, "lblOptSet", QStringLiteral("708"), 240, 330, 2340, 690, true);
    for (int i = 0; i < 2; ++i) {
        Opt[i] = new QRadioButton(frchk);
        Opt[i]->setObjectName(QStringLiteral("Opt_%1").arg(i));
        forms::SetTag(Opt[i], QString::number(1500 + i));
        // Both are cleared while a group is chosen: the window keeps them apart itself.
        Opt[i]->setAutoExclusive(false);
        Move(Opt[i], 480, 1080 + i * 420, 2000, 330);
        connect(Opt[i], &QRadioButton::clicked, this, [this, i] { Opt_Click(i); });
    }

    frWork = MakeFrame(picFrames, "frWork", QStringLiteral("742"), kFrameOutOfView, 0, fw, fh);
    lblStartCap = MakeLabel(frWork, "lblStartCap", QStringLiteral("201"), 240, 420, 840, 300);
    lblEndCap = MakeLabel(frWork, "lblEndCap", QStringLiteral("202"), 240, 900, 840, 300);
    for (forms::Label **time : {&lblStartTime, &lblEndTime}) {
        auto *l = new forms::Label(frWork);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setCursor(Qt::PointingHandCursor);
        l->SetBackColor(forms::RGB(255, 255, 255));
        *time = l;
    }
    lblStartTime->setObjectName("lblStartTime");
    lblEndTime->setObjectName("lblEndTime");
    Move(lblStartTime, 1140, 390, 1080, 330);
    Move(lblEndTime, 1140, 870, 1080, 330);
    connect(lblStartTime, &forms::Label::Click, this, &frmOptions::lblStartTime_Click);
    connect(lblEndTime, &forms::Label::Click, this, &frmOptions::lblEndTime_Click);
    // The picker's Enter writes "hh:mm": the label keeps the form hh:mm:ss all the same.
    for (forms::Label *l : {lblStartTime, lblEndTime})
        connect(l, &forms::Label::Change, this, [l] { l->SetCaption(optrules::WithSeconds(l->Caption())); });
    lblWorkHint = MakeLabel(frWork, "lblWorkHint", QStringLiteral("717"), 240, 1890, 2340, 690, true);
    picPicker = clsTimePicker::CreateControls(frWork);
    Move(picPicker, 240, 1350);

    frLang = MakeFrame(picFrames, "frLang", QStringLiteral("716"), kFrameOutOfView, 0, fw, fh);
    lblLang = MakeLabel(frLang, "lblLang", QStringLiteral("715"), 240, 360, 2340, 480, true);
    cmbLang = new forms::ComboBox(frLang);
    cmbLang->setObjectName("cmbLang");
    Move(cmbLang, 240, 900, 1800, 330);
    connect(cmbLang, &forms::ComboBox::Click, this, &frmOptions::cmbLang_Click);
    imgFlag = new QLabel(frLang);
    imgFlag->setObjectName("imgFlag");
    Move(imgFlag, 2160, 930, 390, 270);

    frHotKey = MakeFrame(picFrames, "frHotKey", QStringLiteral("734"), kFrameOutOfView, 0, fw, fh);
    lblKeyPre = MakeLabel(frHotKey, "lblKeyPre", QStringLiteral("712"), 240, 360, 2340, 300);
    lblKey = MakeLabel(frHotKey, "lblKey", QStringLiteral("713"), 240, 1080, 2340, 300);
    txtHotKeyPre = MakeBox(frHotKey, "txtHotKeyPre", 240, 660, 2340);
    txtHotKeyPre->setReadOnly(true);
    txtHotKeyPre->setFocusPolicy(Qt::NoFocus);
    txtHotKey = MakeBox(frHotKey, "txtHotKey", 240, 1380, 2340);
    // Every key goes to the capture; nothing is typed into the box.
    txtHotKey->setReadOnly(true);
    txtHotKey->setContextMenuPolicy(Qt::NoContextMenu);
    txtHotKey->installEventFilter(this);
    btnRemove = MakeButton(frHotKey, "btnRemove", QStringLiteral("714"), 240, 1860, 1500);
    connect(btnRemove, &QPushButton::clicked, this, &frmOptions::btnRemove_Click);

    frCon = MakeFrame(picFrames, "frCon", QStringLiteral("750"), kFrameOutOfView, 0, fw, fh);
    cmbTimeOut = new forms::ComboBox(frCon);
    cmbTimeOut->setObjectName("cmbTimeOut");
    for (const char *s : {"15", "30", "45", "60"})
        cmbTimeOut->AddItem(QString::fromLatin1(s));
    Move(cmbTimeOut, 240, 420, 1200, 330);
    lblConHint = MakeLabel(frCon, "lblConHint", QStringLiteral("711"), 240, 900, 2340, 1500, true);

    frinfo = MakeFrame(tabOptions, "frinfo", QStringLiteral("709"), 3480, 2820, fw, 1560);
    lblInfo = MakeLabel(frinfo, "lblInfo", QStringLiteral("710"), 120, 330, fw - 240, 1140, true);

    // ---- footer strip
    const int footer = kHeight - 660;
    btnRestore = MakeButton(this, "btnRestore", QStringLiteral("705"), 180, footer, 1440, 420);
    btnReset = MakeButton(this, "btnReset", QStringLiteral("706"), 1710, footer, 1440, 420);
    btnSave = MakeButton(this, "btnSave", QStringLiteral("903"), 3240, footer, 1440, 420);
    btnExit = MakeButton(this, "btnExit", QStringLiteral("905"), 4770, footer, 1440, 420);
    connect(btnRestore, &QPushButton::clicked, this, &frmOptions::btnRestore_Click);
    connect(btnReset, &QPushButton::clicked, this, &frmOptions::btnReset_Click);
    connect(btnSave, &QPushButton::clicked, this, &frmOptions::btnSave_Click);
    connect(btnExit, &QPushButton::clicked, this, &frmOptions::btnExit_Click);
    for (QPushButton *b : {btnSave, btnReset, btnRestore}) {
        b->setMouseTracking(true);
        b->installEventFilter(this);
    }
}

void frmOptions::CreateMenus()
{
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    mnuBar->setNativeMenuBar(false);
    forms::Move(mnuBar, 0, 0, kWidth, kMenuHeight);
    mnuHelp = mnuBar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName("mnuHelp");
    mnuHelp->menuAction()->setObjectName("mnuHelp");
    mnuHelp_options = mnuHelp->addAction(QStringLiteral("Help on Options"));
    mnuHelp_options->setObjectName("mnuHelp_options");
    connect(mnuHelp_options, &QAction::triggered, this, &frmOptions::mnuHelp_options_Click);
}

void frmOptions::EnableCommands(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(btnVerify), static_cast<QWidget *>(btnSave),
                       static_cast<QWidget *>(btnReset), static_cast<QWidget *>(btnRestore),
                       static_cast<QWidget *>(btnExit)})
        w->setEnabled(enabled);
    // The password boxes and the check need the connection the window saw at its load.
    if (enabled && !IsConnected)
        btnVerify->setEnabled(false);
}

// ---- captions ----------------------------------------------------------------------------

void frmOptions::ApplyLang()
{
    ApplyLangOrTell([&] {
        ApplyTagCaptions(this);
        // The title bar says what the strip at the top says.
        setWindowTitle(GetLangString(49, false));
        mnuHelp->setTitle(GetLangString(287));
        mnuHelp_options->setText(GetLangString(718));
        sTab->setTabText(1, GetLangString(707));
        sTab->setTabText(0, GetLangString(719));
        LoadLang();
    });
}

QString frmOptions::GetLangIcon(int16_t langId)
{
    return optrules::LangIcon(langId);
}

void frmOptions::LoadLang()
{
    m_fillingLang = true;
    cmbLang->Clear();
    const std::pair<int16_t, int> items[] = {{112, 0}, {113, 2}, {115, 3}, {114, 1}};
    for (const auto &[id, lang] : items) {
        cmbLang->AddItem(GetLangString(id, true));
        cmbLang->SetItemData(cmbLang->NewIndex(), lang);
    }
    cmbLang->SetListIndex(FindComboData(m_langChoice, cmbLang));
    m_fillingLang = false;
    imgFlag->setPixmap(res::Picture(234 + m_langChoice));
}

void frmOptions::cmbLang_Click()
{
    const int index = cmbLang->ListIndex();
    if (index < 0)
        return;
    m_langChoice = cmbLang->ItemData(index);
    imgFlag->setPixmap(res::Picture(234 + m_langChoice));
    if (m_fillingLang)
        return;
    if (forms::Node *node = lstOptions->Nodes(QStringLiteral("lang"))) {
        node->SetImage(GetLangIcon(int16_t(m_langChoice)));
        node->SetText(GetLangString(746, true) + QStringLiteral(" ") + cmbLang->Text());
    }
}

// ---- the settings into the controls --------------------------------------------------------

QString frmOptions::StoredPlain(const QString &stored)
{
    if (stored.isEmpty())
        return QString();
    try {
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        return Crypto->Decrypt(stored, CryptoPassPhrase, false, CCrypto::TypeRC2);
    } catch (const std::exception &) {
        return QString();
    }
}

void frmOptions::init()
{
    // 1.
    m_langChoice = LangID;
    LoadLang();
    // 2.
    const QString password = StoredPlain(StoredPassword);
    txtPassw->setText(password);
    txtPasswR->setText(password);
    txtUserName->setText(StoredPlain(StoredUserName));
    m_verified = false;
    // 3.
    if (m_Picker)
        m_Picker->Hide();
    lblStartTime->SetCaption(SecsToHMS(WorkDayStart));
    lblEndTime->SetCaption(SecsToHMS(WorkDayEnd));
    // 4.
    txtPassw->setEnabled(IsConnected);
    txtPasswR->setEnabled(IsConnected);
    btnVerify->setEnabled(IsConnected && !RequestGuard::Busy());
    // 5.
    m_choices = optrules::Choices{AutoStart, AutoSynch, AutoCheck, ShowBalloons};
    m_KeyCode = HotKeyCode;
    m_KeyMask = HotKeyMask;
    LoadLstOptions();
    ShowKeyInForce();
    // 6.
    cmbTimeOut->SetListIndex(FindComboText(QString::number(TimeOut), cmbTimeOut));
    // 7.
    ReleaseHotKey();
}

void frmOptions::ShowKeyInForce()
{
    const QString text = optrules::KeyText(HotKeyCode, HotKeyMask);
    txtHotKeyPre->setText(text.isEmpty() ? GetLangString(725, true) : text);
    txtHotKey->clear();
    m_capturedText.clear();
    m_modifiersShown = false;
}

void frmOptions::ReleaseHotKey()
{
    if (frmStart *timers = frmStart::Peek()) {
        timers->m_Hotkey.reset();
        m_keyReleased = true;
    }
}

void frmOptions::LoadLstOptions()
{
    const forms::Node *selected = lstOptions->SelectedItem();
    const QString selectedKey = selected ? selected->Key() : QString();
    lstOptions->Clear();

    const auto text = [](int16_t id) { return GetLangString(id, true); };
    const auto group = [&](const char *key, int16_t textId, int16_t tagId) {
        forms::Node *n = lstOptions->Add(nullptr, forms::TreeView::Last, QString::fromLatin1(key), text(textId),
                                         QStringLiteral("folder_closed"));
        n->SetExpandedImage(QStringLiteral("folder_open"));
        n->SetBold(true);
        n->SetTag(GetLangString(tagId));
        return n;
    };
    const auto option = [&](forms::Node *parent, const char *key, const QString &caption, int16_t tagId,
                            const QString &image, bool checked) {
        forms::Node *n = lstOptions->Add(parent, forms::TreeView::Child, QString::fromLatin1(key), caption, image);
        n->SetTag(GetLangString(tagId));
        n->SetChecked(checked);
        return n;
    };
    const auto onOff = [&](forms::Node *parent, const char *key, int16_t textId, int16_t tagId) {
        const bool on = optrules::ChoiceOf(m_choices, QString::fromLatin1(key));
        option(parent, key, text(textId), tagId, optrules::CheckImage(on), on);
    };

    forms::Node *start = group("start", 726, 727);
    onOff(start, "autostart", 728, 729);
    onOff(start, "autosynch", 730, 731);
    onOff(start, "autocheck", 732, 733);
    option(start, "hotkey", text(734), 735, optrules::CheckImage(m_KeyCode != 0), m_KeyCode != 0);
    forms::Node *appear = group("appear", 740, 736);
    onOff(appear, "balloons", 737, 738);
    forms::Node *org = group("org", 739, 741);
    option(org, "times", text(742), 743, QStringLiteral("act_chk"), false);
    forms::Node *setlang = group("setlang", 744, 745);
    option(setlang, "lang", text(746) + QStringLiteral(" ") + cmbLang->Text(), 747,
           GetLangIcon(int16_t(cmbLang->ItemData(cmbLang->ListIndex()))), false);
    forms::Node *setcon = group("setcon", 748, 749);
    option(setcon, "timeout", text(750), 751, QStringLiteral("act_chk"), false);
    for (forms::Node *g : {start, appear, org, setlang, setcon})
        g->SetExpanded(true);

    // The node the person was on stays chosen, its frame in view.
    if (forms::Node *again = lstOptions->Nodes(selectedKey)) {
        lstOptions->SetSelectedItem(again);
        lstOptions_NodeClick(again);
    } else {
        lblInfo->setText(GetLangString(710));
        for (QRadioButton *o : Opt)
            o->setChecked(false);
        for (QWidget *w : {static_cast<QWidget *>(frchk), static_cast<QWidget *>(Opt[0]),
                           static_cast<QWidget *>(Opt[1]), static_cast<QWidget *>(lblOptSet)})
            w->setEnabled(false);
        ShowFrame(QStringLiteral("frchk"));
    }
}

// ---- the tree and its frames ---------------------------------------------------------------

void frmOptions::ShowFrame(const QString &name)
{
    for (QGroupBox *f : {frchk, frWork, frLang, frHotKey, frCon})
        forms::Move(f, f->objectName() == name ? kFrameInView : kFrameOutOfView, 0);
}

void frmOptions::lstOptions_NodeClick(forms::Node *node)
{
    if (!node)
        return;
    // 1.
    lblInfo->setText(node->Tag());
    // 2.
    const bool isGroup = optrules::IsGroupKey(node->Key());
    Opt[0]->setChecked(!isGroup && node->Checked());
    Opt[1]->setChecked(!isGroup && !node->Checked());
    for (QWidget *w : {static_cast<QWidget *>(frchk), static_cast<QWidget *>(Opt[0]),
                       static_cast<QWidget *>(Opt[1]), static_cast<QWidget *>(lblOptSet)})
        w->setEnabled(!isGroup);
    // 3.
    ShowFrame(optrules::FrameForKey(node->Key()));
    if (m_Picker)
        m_Picker->Hide();
}

void frmOptions::Opt_Click(int index)
{
    forms::Node *node = lstOptions->SelectedItem();
    const bool yes = index == 0;
    // The two buttons are one choice.
    Opt[0]->setChecked(yes);
    Opt[1]->setChecked(!yes);
    if (!node)
        return;
    switch (optrules::SetChoice(m_choices, node->Key(), yes)) {
    case optrules::YesNo::Refused:
        node->SetChecked(false);
        ShowMsg(GetLangString(723), 16);
        Opt[0]->setChecked(false);
        Opt[1]->setChecked(true);
        node->SetImage(optrules::CheckImage(false));
        return;
    case optrules::YesNo::Taken:
        node->SetChecked(yes);
        node->SetImage(optrules::CheckImage(yes));
        if (node->Key() == QLatin1String("autostart") && !yes)
            if (forms::Node *balloons = lstOptions->Nodes(QStringLiteral("balloons"))) {
                balloons->SetChecked(false);
                balloons->SetImage(optrules::CheckImage(false));
            }
        return;
    case optrules::YesNo::Ignored:
        // Groups and the nodes with frames of their own keep their pictures.
        node->SetChecked(yes);
        return;
    }
}

void frmOptions::btnOpen_Click(int index)
{
    for (int i = 1; i <= lstOptions->Count(); ++i)
        lstOptions->Nodes(i)->SetExpanded(index == 0);
    if (forms::Node *first = lstOptions->Nodes(1))
        lstOptions->scrollToItem(first);
}

// ---- working day ---------------------------------------------------------------------------

void frmOptions::OpenPicker(forms::Label *label)
{
    m_Picker->SetOutputControl(label);
    m_PickerLabel = label;
    m_Picker->ParseTime(label->Caption());
    // Under its label, as far as the frame lets it.
    forms::Move(picPicker, std::min(forms::Left(label), forms::Width(frWork) - forms::Width(picPicker) - 120),
                forms::Top(picPicker));
    m_Picker->Show();
}

void frmOptions::lblStartTime_Click()
{
    OpenPicker(lblStartTime);
}

void frmOptions::lblEndTime_Click()
{
    OpenPicker(lblEndTime);
}

void frmOptions::lblExit_Click()
{
    // The picked hours and minutes, on the full minute.
    if (m_PickerLabel)
        m_PickerLabel->SetCaption(optrules::WithSeconds(m_Picker->Keys().Output()));
    m_Picker->Hide();
}

// ---- hot key -------------------------------------------------------------------------------

bool frmOptions::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == txtHotKey && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)) {
        auto *k = static_cast<QKeyEvent *>(e);
        // Tab still moves on to the next control.
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab)
            return false;
        const int code = forms::VirtualKeyFromQt(k->key());
        int shift = forms::ShiftBits(k->modifiers()) & 7;
        // The event of a modifier key may or may not count that key itself: it is held at its
        // press, and let go at its release.
        if (e->type() == QEvent::KeyPress) {
            if (code != 0 && !k->isAutoRepeat())
                txtHotKey_KeyDown(code, shift | ModifierBit(code));
        } else if (ModifierBit(code) && m_modifiersShown && (shift & ~ModifierBit(code)) == 0) {
            // A combination given up half-way: the box shows the captured key again.
            m_modifiersShown = false;
            txtHotKey->setText(m_capturedText);
        }
        return true;
    }
    if (watched == txtHotKey && e->type() == QEvent::FocusOut && m_modifiersShown) {
        m_modifiersShown = false;
        txtHotKey->setText(m_capturedText);
    }
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
        if (watched == btnSave)
            SetStatus(759);
        else if (watched == btnReset)
            SetStatus(760);
        else if (watched == btnRestore)
            SetStatus(758);
    }
    return ChildWindow::eventFilter(watched, e);
}

void frmOptions::txtHotKey_KeyDown(int keyCode, int shift)
{
    int16_t code = static_cast<int16_t>(keyCode);
    int16_t bits = static_cast<int16_t>(shift);
    ShowKey(code, bits, txtHotKey);
}

void frmOptions::MarkHotKeyNode()
{
    if (forms::Node *node = lstOptions->Nodes(QStringLiteral("hotkey"))) {
        node->SetChecked(m_KeyCode != 0);
        node->SetImage(optrules::CheckImage(m_KeyCode != 0));
    }
}

void frmOptions::ShowKey(int16_t &keyCode, int16_t &shift, QLineEdit *target)
{
    const optrules::Capture c = optrules::CaptureKey(keyCode, shift);
    switch (c.kind) {
    case optrules::Capture::Accepted:
        m_KeyCode = c.code;
        m_KeyMask = c.mask;
        m_modifiersShown = false;
        if (target) {
            target->setText(c.text);
            if (target == txtHotKey)
                m_capturedText = c.text;
        }
        MarkHotKeyNode();
        break;
    case optrules::Capture::ModifierOnly:
        if (target) {
            target->setText(c.text);
            m_modifiersShown = target == txtHotKey;
        }
        break;
    case optrules::Capture::Cleared:
        btnRemove_Click();
        break;
    case optrules::Capture::Refused:
        if (target && target == txtHotKey) {
            target->setText(m_capturedText);
            m_modifiersShown = false;
        }
        ShowMsg(GetLangString(724), 16);
        break;
    }
}

void frmOptions::btnRemove_Click()
{
    m_KeyCode = 0;
    m_KeyMask = 0;
    txtHotKey->clear();
    m_capturedText.clear();
    m_modifiersShown = false;
    txtHotKeyPre->setText(QStringLiteral("<Removed>"));
    MarkHotKeyNode();
}

bool frmOptions::HotKeyFree(int16_t code, int16_t mask)
{
    if (!hotkey::IsAvailable())
        return true;
    const unsigned mods = hotkey::ModifiersForShiftMask(unsigned(uint16_t(mask)));
    QObject probe;
    if (!hotkey::RegisterHotKey(&probe, 1, mods, unsigned(code)))
        return false;
    hotkey::UnregisterHotKey(&probe, 1);
    return true;
}

// ---- credentials ---------------------------------------------------------------------------

bool frmOptions::CheckUserPassw()
{
    const int16_t fault = optrules::CheckCredentials(txtUserName->text(), txtPassw->text(), txtPasswR->text());
    if (fault == 0)
        return false;
    ShowMsg(GetLangString(fault), 16);
    if (fault == 622)
        txtPasswR->setFocus(Qt::OtherFocusReason);
    return true;
}

void frmOptions::btnVerify_Click()
{
    if (RequestGuard::Busy())
        return;
    // 1.
    const QString storedPassword = StoredPlain(StoredPassword);
    // 2.
    if (CheckUserPassw()) {
        txtPassw->setText(storedPassword);
        txtPasswR->clear();
        return;
    }
    // 3.
    SetStatus(752);
    // 4. The credentials in use stay as they are unless the service accepts the new ones.
    const QString userURL = UserNameURL, passwordURL = PasswordURL;
    const QString user = txtUserName->text(), password = txtPassw->text();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString result = CheckName(user, password, modHttp::KindStatusLine);
    QApplication::restoreOverrideCursor();
    const optrules::Verification v = optrules::ClassifyVerification(result);
    if (!v.ok) {
        // 5.
        UserNameURL = userURL;
        PasswordURL = passwordURL;
        const QString text = v.code == optrules::NoFullName ? GetLangString(761) : modHttp::GetErrMsg(v.code);
        ShowMsg(text, 16);
        SetStatus(754);
        txtPassw->setText(storedPassword);
        txtPasswR->clear();
        return;
    }
    // 6.
    m_verified = true;
    m_verifiedUser = user;
    m_verifiedPassword = password;
    SetStatus(753);
    UserFullName = v.fullName;
    try {
        registry::SaveSetting(SettingsApp, QStringLiteral("user"), QStringLiteral("fullname"), v.fullName);
    } catch (const registry::RegistryError &e) {
        ShowMsg(GetLangString(753) + QStringLiteral("\r\n") + GetLangString(755) + QStringLiteral("\r\n\r\n")
                    + GetLangString(762) + QStringLiteral("\r\n") + QString::fromLocal8Bit(e.what()),
                48);
        return;
    }
    ShowMsg(GetLangString(753) + QStringLiteral("\r\n") + GetLangString(755), 0);
}

// ---- saving ----------------------------------------------------------------------------------

optrules::Entered frmOptions::EnteredValues() const
{
    optrules::Entered e;
    e.startText = lblStartTime->Caption();
    e.endText = lblEndTime->Caption();
    e.choices = m_choices;
    e.langId = cmbLang->ListIndex() >= 0 ? cmbLang->ItemData(cmbLang->ListIndex()) : -1;
    e.timeOutText = cmbTimeOut->ListIndex() >= 0 ? cmbTimeOut->Text() : QString();
    e.keyCode = m_KeyCode;
    e.keyMask = m_KeyMask;
    return e;
}

void frmOptions::ShowEntered(const optrules::Entered &e)
{
    if (m_Picker)
        m_Picker->Hide();
    lblStartTime->SetCaption(e.startText);
    lblEndTime->SetCaption(e.endText);
    m_choices = e.choices;
    cmbTimeOut->SetListIndex(FindComboText(e.timeOutText, cmbTimeOut));
    m_KeyCode = e.keyCode;
    m_KeyMask = e.keyMask;
    m_capturedText = optrules::KeyText(e.keyCode, e.keyMask);
    m_modifiersShown = false;
    txtHotKey->setText(m_capturedText);
    LoadLstOptions();
}

void frmOptions::btnSave_Click()
{
    if (RequestGuard::Busy())
        return;
    // 1.
    if (CheckUserPassw()) {
        SetStatus(629);
        return;
    }
    // 2.
    const optrules::Profile current{WorkDayStart, WorkDayEnd, {AutoStart, AutoSynch, AutoCheck, ShowBalloons},
                                    TimeOut, HotKeyCode, HotKeyMask, LangID};
    optrules::Profile next;
    if (optrules::PlanSave(EnteredValues(), current, next) != 0) {
        ShowMsg(GetLangString(624), 16);
        SetStatus(629);
        return;
    }
    // New credentials are kept once the service has accepted them.
    const QString user = txtUserName->text(), password = txtPassw->text();
    const bool changed = user != StoredPlain(StoredUserName) || password != StoredPlain(StoredPassword);
    if (changed && !(m_verified && user == m_verifiedUser && password == m_verifiedPassword)) {
        ShowMsg(GetLangString(763), 16);
        SetStatus(629);
        return;
    }

    QString causes;
    // 3.
    try {
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        const QString storedUser = Crypto->Encrypt(user, CryptoPassPhrase, false, CCrypto::TypeRC2);
        const QString storedPassword = Crypto->Encrypt(password, CryptoPassPhrase, false, CCrypto::TypeRC2);
        if (storedUser.isEmpty() || storedPassword.isEmpty())
            throw CCryptoError(0, QStringLiteral("The credentials could not be encrypted."), QStringLiteral("CCrypto"));
        StoredUserName = storedUser;
        StoredPassword = storedPassword;
        PasswordURL = modHttp::URLEncode(password);
        UserNameURL = modHttp::URLEncode(user);
    } catch (const std::exception &e) {
        AddCause(causes, GetLangString(764) + QStringLiteral("\r\n") + QString::fromLocal8Bit(e.what()));
    }
    // 4., 5.
    LangID = next.langId;
    WorkDayStart = next.workStart;
    WorkDayEnd = next.workEnd;
    // 6.
    AutoStart = next.choices.autoStart;
    const int16_t autoStartBefore = current.choices.autoStart;
    try {
        SetStartupShortcut(AutoStart == 1);
    } catch (const shell::ShellError &e) {
        AddCause(causes, GetLangString(765) + QStringLiteral("\r\n") + QString::fromLocal8Bit(e.what()));
    }
    // 7.
    AutoCheck = next.choices.autoCheck;
    AutoSynch = next.choices.autoSynch;
    ShowBalloons = next.choices.balloons;
    // 8. A combination another program holds is not taken: the key in force stays.
    frmStart *timers = frmStart::Peek();
    if (timers)
        timers->m_Hotkey.reset();
    if (next.keyCode != 0 && !HotKeyFree(next.keyCode, next.keyMask)) {
        AddCause(causes, GetLangString(766).replace(QStringLiteral("%1"), optrules::KeyText(next.keyCode, next.keyMask)));
        next.keyCode = current.keyCode;
        next.keyMask = current.keyMask;
        m_KeyCode = next.keyCode;
        m_KeyMask = next.keyMask;
        MarkHotKeyNode();
    }
    HotKeyCode = next.keyCode;
    HotKeyMask = next.keyMask;
    // 9. The tray icon.
    if (timers) {
        if (AutoStart != 1)
            timers->m_frmSysTray.reset();
        else if (!timers->m_frmSysTray || autoStartBefore != 1)
            timers->setSysTray();
        // 10. The hot key (none for a key or mask of 0).
        timers->SetHotKey();
        m_keyReleased = false;
    }
    // 11.
    TimeOut = next.timeOut;
    // 12.
    try {
        SaveSettings();
    } catch (const registry::RegistryError &e) {
        AddCause(causes, GetLangString(767) + QStringLiteral("\r\n") + QString::fromLocal8Bit(e.what()));
    }
    ShowKeyInForce();
    m_KeyCode = HotKeyCode;
    m_KeyMask = HotKeyMask;
    MarkHotKeyNode();
    // 13. Saved is said only of what was all written.
    if (!causes.isEmpty()) {
        ShowMsg(causes, 16);
        SetStatus(768);
        return;
    }
    SetStatus(631);
}

void frmOptions::btnReset_Click()
{
    if (ShowMsg(GetLangString(720), 1 + 48) == 1)
        init();
}

void frmOptions::btnRestore_Click()
{
    // The defaults go into the controls; the profile changes only with Save.
    if (ShowMsg(GetLangString(722), 4 + 32) == 6)
        ShowEntered(optrules::WithDefaults(EnteredValues()));
}

void frmOptions::btnExit_Click()
{
    // Once the click has been handled: the window goes with the button.
    hide();
    QPointer<frmOptions> self(this);
    QTimer::singleShot(0, [self] {
        if (self && Peek() == self)
            Unload();
    });
}

void frmOptions::mnuHelp_options_Click()
{
    frmHlp::ShowHelpFor(objectName());
}
