#include "expenses/frmCalc.h"

#include "core/modMain.h"
#include "platform/forms/Label.h"
#include "platform/forms/Units.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

namespace {

// Places on the keypad, in twips.
struct Place {
    int left, top, width, height;
};
constexpr int kFaceWidth = 1410, kFaceHeight = 1935;
constexpr int kKeyW = 285, kKeyH = 195;
constexpr Place kDigits[11] = {{75, 1425, kKeyW, kKeyH},  {75, 1200, kKeyW, kKeyH},  {405, 1200, kKeyW, kKeyH},
                               {720, 1200, kKeyW, kKeyH}, {75, 975, kKeyW, kKeyH},   {405, 975, kKeyW, kKeyH},
                               {720, 975, kKeyW, kKeyH},  {75, 750, kKeyW, kKeyH},   {405, 750, kKeyW, kKeyH},
                               {720, 750, kKeyW, kKeyH},  {405, 1425, kKeyW, kKeyH}};
constexpr Place kFunctions[5] = {{720, 1440, kKeyW, kKeyH}, {1020, 1440, 300, kKeyH}, {1020, 1200, 300, kKeyH},
                                 {1020, 975, 300, kKeyH},   {1020, 750, 300, kKeyH}};
constexpr Place kMemory[3] = {{75, 525, kKeyW, kKeyH}, {405, 525, kKeyW, kKeyH}, {720, 525, kKeyW, kKeyH}};
constexpr Place kClear{1035, 525, kKeyW, kKeyH};
constexpr Place kOK{480, 1650, 405, kKeyH};
constexpr Place kOutp{165, 150, 1095, 255};
constexpr Place kMem{105, 435, 120, 60};
constexpr Place kKeyBox{1300, 1700, 45, 45};

QRectF PixelRect(const Place &p)
{
    return QRectF(forms::TwipsToPixelsF(p.left), forms::TwipsToPixelsF(p.top), forms::TwipsToPixelsF(p.width),
                  forms::TwipsToPixelsF(p.height));
}

void Put(QWidget *w, const Place &p)
{
    forms::Move(w, p.left, p.top, p.width, p.height);
}

// The keypad: a panel, the display's well, and each key's face with its sign. The keys
// themselves are the transparent labels laid over these faces.
class CalcFace : public QWidget {
public:
    explicit CalcFace(QWidget *parent) : QWidget(parent) {}

protected:
    static void Key(QPainter &p, const Place &place, const QString &sign, const QColor &top, const QColor &bottom)
    {
        const QRectF r = PixelRect(place).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient shade(r.topLeft(), r.bottomLeft());
        shade.setColorAt(0, top);
        shade.setColorAt(1, bottom);
        p.setPen(QPen(QColor(0x6b, 0x76, 0x86), 1));
        p.setBrush(shade);
        p.drawRoundedRect(r, 2.5, 2.5);
        p.setPen(QColor(0x1c, 0x24, 0x30));
        p.drawText(r, Qt::AlignCenter, sign);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF all(0, 0, width(), height());
        QLinearGradient panel(all.topLeft(), all.bottomLeft());
        panel.setColorAt(0, QColor(0xdf, 0xe6, 0xef));
        panel.setColorAt(1, QColor(0xbc, 0xc8, 0xd6));
        p.fillRect(all, panel);
        // The display's well.
        const QRectF well = PixelRect(kOutp).adjusted(-2, -2, 2, 2);
        p.setPen(QPen(QColor(0x55, 0x60, 0x70), 1));
        p.setBrush(QColor(0xf4, 0xf8, 0xee));
        p.drawRoundedRect(well, 2, 2);

        QFont font = p.font();
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        const QColor light(0xfb, 0xfc, 0xfe), dark(0xd5, 0xdc, 0xe6);
        const QColor fnTop(0xe9, 0xf0, 0xfb), fnBottom(0xb9, 0xcb, 0xe6);
        const QColor memTop(0xf1, 0xf1, 0xe4), memBottom(0xd6, 0xd6, 0xb9);
        for (int i = 0; i < 10; ++i)
            Key(p, kDigits[i], QString::number(i), light, dark);
        const QString dec = modMain::DecimalSep.isEmpty() ? QStringLiteral(".") : modMain::DecimalSep;
        Key(p, kDigits[10], dec, light, dark);
        static const QString signs[5] = {QStringLiteral("="), QStringLiteral("+"), QStringLiteral("\u2212"),
                                         QStringLiteral("\u00d7"), QStringLiteral("\u00f7")};
        for (int i = 0; i < 5; ++i)
            Key(p, kFunctions[i], signs[i], fnTop, fnBottom);
        static const QString mem[3] = {QStringLiteral("MR"), QStringLiteral("M\u2212"), QStringLiteral("M+")};
        for (int i = 0; i < 3; ++i)
            Key(p, kMemory[i], mem[i], memTop, memBottom);
        Key(p, kClear, QStringLiteral("C"), QColor(0xfb, 0xe4, 0xdc), QColor(0xe8, 0xb4, 0xa4));
        Key(p, kOK, QStringLiteral("OK"), QColor(0xe2, 0xf3, 0xdc), QColor(0xa9, 0xd6, 0x9a));
    }
};

forms::Label *KeyLabel(QWidget *parent, const QString &name, const Place &place)
{
    auto *l = new forms::Label(parent);
    l->setObjectName(name);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAutoFillBackground(false);
    l->setCursor(Qt::PointingHandCursor);
    Put(l, place);
    return l;
}

} // namespace

frmCalc::frmCalc()
{
    setObjectName("frmCalc");
    setWindowTitle(modMain::GetLangString(1711, true));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    auto *face = new CalcFace(this);
    face->setObjectName("Calc");
    Put(face, {0, 0, kFaceWidth, kFaceHeight});
    setFixedSize(face->size());

    for (int i = 0; i <= 10; ++i) {
        b[size_t(i)] = KeyLabel(face, QStringLiteral("b_%1").arg(i), kDigits[i]);
        connect(b[size_t(i)], &forms::Label::Click, this, [this, i] { b_Click(i); });
    }
    for (int i = 0; i < 5; ++i) {
        f[size_t(i)] = KeyLabel(face, QStringLiteral("f_%1").arg(i), kFunctions[i]);
        connect(f[size_t(i)], &forms::Label::Click, this, [this, i] { f_Click(i); });
    }
    for (int i = 0; i < 3; ++i) {
        m[size_t(i)] = KeyLabel(face, QStringLiteral("m_%1").arg(i), kMemory[i]);
        connect(m[size_t(i)], &forms::Label::Click, this, [this, i] { m_Click(i); });
    }
    lClear = KeyLabel(face, QStringLiteral("lClear"), kClear);
    connect(lClear, &forms::Label::Click, this, &frmCalc::lClear_Click);
    lOK = KeyLabel(face, QStringLiteral("lOK"), kOK);
    connect(lOK, &forms::Label::Click, this, &frmCalc::lOK_Click);

    lOutp = new forms::Label(QStringLiteral("0.00"), face);
    lOutp->setObjectName("lOutp");
    lOutp->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont display = lOutp->font();
    display.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    display.setPixelSize(13);
    display.setBold(true);
    lOutp->setFont(display);
    lOutp->setContentsMargins(0, 0, 2, 0);
    Put(lOutp, kOutp);

    auto *mem = new QLabel(QStringLiteral("M"), face);
    mem->setObjectName("shMem");
    mem->setAlignment(Qt::AlignCenter);
    QFont small = mem->font();
    small.setPixelSize(8);
    small.setBold(true);
    mem->setFont(small);
    mem->setStyleSheet(QStringLiteral("color: #1d4f91;"));
    Put(mem, kMem);
    mem->setVisible(false);
    shMem = mem;

    // The key box is tiny and out of the way, but takes the focus and the keys.
    txtKey = new QLineEdit(face);
    txtKey->setObjectName("txtKey");
    txtKey->setFrame(false);
    txtKey->setStyleSheet(QStringLiteral("background: transparent; color: transparent;"));
    Put(txtKey, kKeyBox);
    txtKey->installEventFilter(this);
    txtKey->setFocus();
}

frmCalc::~frmCalc()
{
    Forget(this);
}

bool frmCalc::Calculate(QLineEdit *amountBox)
{
    if (!amountBox)
        return false;
    frmCalc *w = Get();
    w->AmountBox = amountBox;
    // Over the amount box, inside the screen.
    QPoint at = amountBox->mapToGlobal(QPoint(0, 0));
    if (QScreen *screen = amountBox->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - w->width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - w->height() - 30)));
    }
    w->move(at);
    w->SetEntryText(amountBox->text());
    w->lOutp->SetCaption(amountBox->text());
    w->exec();
    const bool written = w->m_written;
    Unload();
    return written;
}

void frmCalc::SetEntryText(const QString &text)
{
    m_calc.Open(text);
}

double frmCalc::DoCalc()
{
    const double r = m_calc.DoCalc();
    Show();
    return r;
}

void frmCalc::ClearAll()
{
    m_calc.ClearAll();
}

void frmCalc::Show()
{
    lOutp->SetCaption(m_calc.Display());
    shMem->setVisible(m_calc.MemoryShown());
    txtKey->setFocus();
}

void frmCalc::b_Click(int index)
{
    m_calc.Digit(index);
    Show();
}

void frmCalc::f_Click(int index)
{
    m_calc.Function(index);
    Show();
}

void frmCalc::m_Click(int index)
{
    m_calc.Memory(index);
    Show();
}

void frmCalc::lClear_Click()
{
    m_calc.Clear();
    Show();
}

void frmCalc::lOK_Click()
{
    // What the display shows is what goes into the box; an error leaves the box as it was.
    m_calc.SetDisplay(lOutp->Caption());
    if (const std::optional<QString> amount = m_calc.Ok(); amount && AmountBox) {
        AmountBox->setText(*amount);
        m_written = true;
    }
    m_calc.ClearAll();
    accept();
}

bool frmCalc::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtKey && event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            lOK_Click();
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            lClear_Click();
            return true;
        }
        const QString text = k->text();
        if (text.size() == 1) {
            int index = 0;
            switch (CalcEngine::KeyOfChar(text[0], index)) {
            case CalcEngine::KeyKind::Digit:
                b_Click(index);
                break;
            case CalcEngine::KeyKind::Function:
                f_Click(index);
                break;
            case CalcEngine::KeyKind::None:
                break;
            }
            return true;
        }
        // Tab and the arrows would take the focus away from the keys.
        return k->key() != Qt::Key_unknown;
    }
    return QDialog::eventFilter(watched, event);
}
