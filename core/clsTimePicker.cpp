#include "core/clsTimePicker.h"

#include "platform/forms/Label.h"
#include "platform/forms/Units.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace {

// Places on the face, in twips.
struct Place {
    int left, top, width, height;
};
constexpr int kFaceWidth = 2085, kFaceHeight = 780;
constexpr Place kHour{0, 45, 675, 615};
constexpr Place kMinute[2] = {{900, 45, 315, 615}, {1245, 45, 315, 615}};
constexpr const char *kZoneNames[6] = {"lHp", "lHm", "lM1p", "lM1m", "lM2p", "lM2m"};
constexpr Place kZones[6] = {{30, 30, 675, 315}, {30, 420, 675, 375},   {900, 60, 315, 315},
                             {900, 360, 315, 315}, {1260, 60, 315, 315}, {1260, 360, 315, 315}};
constexpr Place kMarker{75, 600, 315, 255};
constexpr Place kKeyBox{1680, 120, 75, 45};
constexpr Place kExit{1680, 480, 375, 255};

constexpr int kGrey = 0x808080;
constexpr int kBlack = 0;

QRectF PixelRect(const Place &p)
{
    return QRectF(forms::TwipsToPixelsF(p.left), forms::TwipsToPixelsF(p.top), forms::TwipsToPixelsF(p.width),
                  forms::TwipsToPixelsF(p.height));
}

void Put(QWidget *w, const Place &p)
{
    forms::Move(w, p.left, p.top, p.width, p.height);
}

// The digits' font: the design's Tahoma where the desktop has it, else the Arial-like sans
// serif every installation of the program has.
QFont DigitFont()
{
    QFont f;
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("Tahoma")))
        f.setFamily(QStringLiteral("Tahoma"));
    else
        f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setPointSizeF(27.75);
    return f;
}

// The picker's face: a panel with a well behind each field, the colon, small arrows where the
// plus and minus zones lie, and the close button where the host's close label sits.
class PickerFace : public QWidget {
public:
    explicit PickerFace(QWidget *parent) : QWidget(parent) {}

protected:
    // A rounded rectangle shaded from top to bottom, with its border.
    static void Shaded(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom, const QColor &border,
                       double radius)
    {
        QLinearGradient shade(r.topLeft(), r.bottomLeft());
        shade.setColorAt(0, top);
        shade.setColorAt(1, bottom);
        p.setPen(QPen(border, 1));
        p.setBrush(shade);
        p.drawRoundedRect(r, radius, radius);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF all = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

        Shaded(p, all, QColor(0xF4, 0xF7, 0xFB), QColor(0xD5, 0xDF, 0xEB), QColor(0x5A, 0x6F, 0x8C), 5);

        // Wells behind the digits.
        p.setPen(QPen(QColor(0xA9, 0xB7, 0xC9), 1));
        p.setBrush(Qt::white);
        const QRectF hour = PixelRect(kHour).adjusted(2, 1, -1, -2);
        const QRectF tens = PixelRect(kMinute[0]).adjusted(0, 1, 0, -2);
        const QRectF units = PixelRect(kMinute[1]).adjusted(0, 1, 0, -2);
        p.drawRoundedRect(hour, 3, 3);
        p.drawRoundedRect(tens, 3, 3);
        p.drawRoundedRect(units, 3, 3);

        // The colon between hour and minutes.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x33, 0x33, 0x33));
        const double cx = (hour.right() + tens.left()) / 2;
        const double cy = hour.center().y();
        p.drawEllipse(QPointF(cx, cy - 6), 2.2, 2.2);
        p.drawEllipse(QPointF(cx, cy + 6), 2.2, 2.2);

        // Arrows that tell where a click counts up or down.
        p.setBrush(QColor(0x7A, 0x8C, 0xA6));
        auto arrow = [&p](double x, double tip, double base) {
            QPainterPath path;
            path.moveTo(x - 3, base);
            path.lineTo(x + 3, base);
            path.lineTo(x, tip);
            path.closeSubpath();
            p.drawPath(path);
        };
        for (const QRectF &well : {hour, tens, units}) {
            arrow(well.center().x(), well.top() + 2, well.top() + 5);
            arrow(well.center().x(), well.bottom() - 2, well.bottom() - 5);
        }

        // The close button: a tick on a green key.
        const QRectF exit = PixelRect(kExit).adjusted(0.5, 0.5, -1.5, -0.5);
        Shaded(p, exit, QColor(0x6C, 0xC0, 0x6C), QColor(0x3A, 0x8E, 0x3A), QColor(0x2E, 0x6B, 0x2E), 3);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF c = exit.center();
        p.drawPolyline(QPolygonF({QPointF(c.x() - 5, c.y()), QPointF(c.x() - 1.5, c.y() + 3.5),
                                  QPointF(c.x() + 5, c.y() - 4)}));
    }
};

forms::Label *MakeLabel(QWidget *face, const char *name, const QString &caption, const Place &place)
{
    auto *l = new forms::Label(caption, face);
    l->setObjectName(QLatin1String(name));
    Put(l, place);
    return l;
}

} // namespace

QWidget *clsTimePicker::CreateControls(QWidget *parent)
{
    auto *face = new PickerFace(parent);
    face->setObjectName(QStringLiteral("picPicker"));
    face->resize(forms::TwipsToPixels(kFaceWidth), forms::TwipsToPixels(kFaceHeight));
    face->hide();

    const QFont digits = DigitFont();
    forms::Label *hour = MakeLabel(face, "lH", QStringLiteral("00"), kHour);
    hour->setFont(digits);
    hour->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 2; ++i) {
        forms::Label *m = MakeLabel(face, i == 0 ? "lM_0" : "lM_1", QStringLiteral("0"), kMinute[i]);
        m->setFont(digits);
        m->setAlignment(Qt::AlignCenter);
    }
    // The zones lie over the digits and take their clicks.
    for (auto *digit : face->findChildren<forms::Label *>())
        digit->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int i = 0; i < 6; ++i) {
        forms::Label *zone = MakeLabel(face, kZoneNames[i], QString(), kZones[i]);
        zone->setCursor(i % 2 == 0 ? Qt::UpArrowCursor : Qt::PointingHandCursor);
    }

    forms::Label *marker = MakeLabel(face, "lMarker", QStringLiteral("^"), kMarker);
    QFont mf = marker->font();
    mf.setBold(true);
    marker->setFont(mf);
    marker->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    marker->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *key = new QLineEdit(face);
    key->setObjectName(QStringLiteral("txtKey"));
    Put(key, kKeyBox);
    key->setFrame(false);
    key->setContextMenuPolicy(Qt::NoContextMenu);
    face->setFocusProxy(key);

    forms::Label *exit = MakeLabel(face, "lblExit", QString(), kExit);
    exit->setCursor(Qt::PointingHandCursor);
    return face;
}

clsTimePicker::clsTimePicker(QObject *parent) : QObject(parent) {}

clsTimePicker::~clsTimePicker()
{
    if (m_txtKey)
        m_txtKey->removeEventFilter(this);
}

void clsTimePicker::SetOutputControl(QWidget *control)
{
    m_output = control;
}

void clsTimePicker::SetFrm(QWidget *host)
{
    // A picker bound again lets go of the controls it had.
    for (auto &zone : m_zones)
        if (zone)
            disconnect(zone, nullptr, this, nullptr);
    if (m_txtKey)
        m_txtKey->removeEventFilter(this);

    m_frm = host;
    auto find = [host](const char *name) -> forms::Label * {
        return host ? host->findChild<forms::Label *>(QLatin1String(name)) : nullptr;
    };
    m_picPicker = host ? host->findChild<QWidget *>(QStringLiteral("picPicker")) : nullptr;
    m_lH = find("lH");
    m_lM[0] = find("lM_0");
    m_lM[1] = find("lM_1");
    m_lMarker = host ? host->findChild<QWidget *>(QStringLiteral("lMarker")) : nullptr;
    m_txtKey = host ? host->findChild<QLineEdit *>(QStringLiteral("txtKey")) : nullptr;
    static constexpr TimePickerKeys::Zone zones[6] = {
        TimePickerKeys::Zone::HourPlus,        TimePickerKeys::Zone::HourMinus,
        TimePickerKeys::Zone::MinuteTensPlus,  TimePickerKeys::Zone::MinuteTensMinus,
        TimePickerKeys::Zone::MinuteUnitsPlus, TimePickerKeys::Zone::MinuteUnitsMinus};
    for (int i = 0; i < 6; ++i) {
        m_zones[i] = find(kZoneNames[i]);
        if (m_zones[i])
            connect(m_zones[i], &forms::Label::Click, this, [this, zone = zones[i]] { Zone_Click(zone); });
    }
    if (m_txtKey)
        m_txtKey->installEventFilter(this);
}

bool clsTimePicker::IsBound() const
{
    bool all = m_frm && m_picPicker && m_lH && m_lM[0] && m_lM[1] && m_lMarker && m_txtKey;
    for (const auto &zone : m_zones)
        all = all && zone;
    return all;
}

void clsTimePicker::DisplayTime()
{
    m_keys.DisplayTime();
    Paint();
}

void clsTimePicker::Show()
{
    m_keys.Show();
    Paint();
    if (m_picPicker) {
        m_picPicker->show();
        m_picPicker->raise();
    }
    if (m_txtKey)
        m_txtKey->setFocus(Qt::OtherFocusReason);
}

void clsTimePicker::Hide()
{
    m_keys.Hide();
    if (m_picPicker)
        m_picPicker->hide();
}

void clsTimePicker::Output()
{
    QWidget *out = m_output;
    if (!out)
        return;
    const QString text = m_keys.Output();
    if (auto *box = qobject_cast<QLineEdit *>(out))
        box->setText(text);
    else if (auto *label = qobject_cast<forms::Label *>(out))
        label->SetCaption(text);
    else if (auto *plain = qobject_cast<QLabel *>(out))
        plain->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(out))
        button->setText(text);
    else
        out->setProperty("text", text);
}

void clsTimePicker::ParseTime(const QString &text)
{
    m_keys.ParseTime(text);
    Paint();
}

void clsTimePicker::HighlightField(int field, bool clear)
{
    forms::Label *labels[3] = {m_lH, m_lM[0], m_lM[1]};
    if (!clear && (field < 1 || field > 3))
        return;
    for (int i = 0; i < 3; ++i)
        if (labels[i])
            labels[i]->SetForeColor(!clear && i == field - 1 ? kGrey : kBlack);
}

void clsTimePicker::MoveMarker()
{
    if (m_lMarker)
        m_lMarker->move(forms::TwipsToPixels(m_keys.MarkerLeft()), m_lMarker->y());
}

void clsTimePicker::Paint()
{
    if (m_lH)
        m_lH->SetCaption(m_keys.HourText());
    if (m_lM[0])
        m_lM[0]->SetCaption(QString(m_keys.MinuteTens()));
    if (m_lM[1])
        m_lM[1]->SetCaption(QString(m_keys.MinuteUnits()));
    HighlightField(m_keys.Highlight(), m_keys.Highlight() == 0);
    MoveMarker();
}

void clsTimePicker::txtKey_KeyDown(int keyCode, int shift)
{
    if (m_txtKey && !m_txtKey->hasFocus())
        m_txtKey->setFocus(Qt::OtherFocusReason);
    m_keys.KeyDown(keyCode, shift);
    Paint();
}

void clsTimePicker::txtKey_KeyPress(int &keyAscii)
{
    const int code = keyAscii;
    // The key box never shows what was typed.
    keyAscii = 0;
    if (m_keys.KeyPress(code)) {
        Hide();
        Output();
        return;
    }
    Paint();
}

void clsTimePicker::Zone_Click(TimePickerKeys::Zone zone)
{
    if (m_txtKey && !m_txtKey->hasFocus())
        m_txtKey->setFocus(Qt::OtherFocusReason);
    m_keys.ZoneClick(zone);
    Paint();
}

bool clsTimePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_txtKey)
        return QObject::eventFilter(watched, event);
    // The key box only holds the focus: neither it nor its text cursor shows on the face.
    if (event->type() == QEvent::Paint)
        return true;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto *ke = static_cast<QKeyEvent *>(event);
    const int key = ke->key();
    // Tab still moves the focus on.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Enter and Esc belong to the picker, not to a default button or a dialog's close.
        event->accept();
        return true;
    }
    txtKey_KeyDown(forms::VirtualKeyFromQt(key), forms::ShiftBits(ke->modifiers()));
    int ascii = 0;
    switch (key) {
    case Qt::Key_Backspace: ascii = TimePickerKeys::kBackspace; break;
    case Qt::Key_Return: case Qt::Key_Enter: ascii = TimePickerKeys::kEnter; break;
    case Qt::Key_Escape: ascii = TimePickerKeys::kEscape; break;
    default:
        if (!ke->text().isEmpty() && ke->text().at(0).isPrint())
            ascii = ke->text().at(0).unicode();
        break;
    }
    if (ascii != 0)
        txtKey_KeyPress(ascii);
    return true;
}
