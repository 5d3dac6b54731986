#include "core/FMessage.h"

#include "platform/forms/Units.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

// The layout is worked out in twips, the unit of the window's design, and only turned into
// pixels when the controls are placed.
constexpr double kTwipsPerPixel = forms::kTwipsPerPixel;
int Px(int twips) { return forms::TwipsToPixels(twips); }

// Design positions and sizes (twips).
constexpr int kIconLeft = 180, kIconTop = 240, kIconWidth = 555, kIconHeight = 495;
constexpr int kLabelTop = 240;
constexpr int kStripTop = 1065, kStripHeight = 630;
constexpr int kButtonWidth = 1155, kButtonHeight = 435, kButtonGap = 105;
constexpr int kMinWidth = 5300, kMaxWidth = 8715;
constexpr int kMinGap = 300;

// The part of the window's width taken by its frame. The window manager draws the frame
// outside the window's own area here, so the whole width laid out below is the inside.
int FrameWidthTwips() { return 0; }

QFont ArialFont(double points)
{
    // "Arial" is matched by fontconfig to a metric-compatible face that also has Greek letters.
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    return f;
}

} // namespace

FMessage::FMessage()
{
    setObjectName(QStringLiteral("FMessage"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFont(ArialFont(11.25));

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setGeometry(Px(kIconLeft), Px(kIconTop), Px(kIconWidth), Px(kIconHeight));
    picIcon->hide();

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    // Plain text: a prompt that happens to look like markup is still shown as it stands.
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    picButtons = new QWidget(this);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    for (int i = 0; i < static_cast<int>(cmdButton.size()); ++i) {
        auto *b = new QPushButton(picButtons);
        b->setObjectName(QStringLiteral("cmdButton_") + QString::number(i));
        b->setFont(ArialFont(9.75));
        b->setGeometry(0, 0, Px(kButtonWidth), Px(kButtonHeight));
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
        cmdButton[i] = b;
    }

    const int w = kMinWidth, h = kStripTop + kStripHeight;
    picButtons->setGeometry(0, Px(kStripTop), Px(w), Px(kStripHeight));
    setFixedSize(Px(w), Px(h));
}

FMessage::~FMessage() = default;

void FMessage::MessageIcon(int32_t kind)
{
    m_icon = kind;
    int picture = 0;
    switch (kind) {
    case 16: picture = 102; break;
    case 32: picture = 101; break;
    case 48: picture = 103; break;
    case 64: picture = 104; break;
    default: break;
    }
    if (picture) {
        picIcon->setPixmap(res::Picture(picture));
        picIcon->show();
    } else {
        picIcon->clear();
        picIcon->hide();
    }
}

void FMessage::MessageTitle(const QString &title)
{
    setWindowTitle(title.isEmpty() ? QApplication::applicationDisplayName() : title);
}

void FMessage::ButtonText(const QStringList &captions)
{
    // The window has four buttons; further captions have nowhere to go.
    m_captions = captions.mid(0, static_cast<int>(cmdButton.size()));
    for (auto *b : cmdButton)
        b->hide();
    for (int i = 0; i < m_captions.size(); ++i)
        cmdButton[i]->show();
}

void FMessage::ButtonNames(const QStringList &names)
{
    for (int i = 0; i < names.size() && i < static_cast<int>(cmdButton.size()); ++i)
        if (!names[i].isEmpty())
            cmdButton[i]->setObjectName(names[i]);
}

void FMessage::ButtonsUnload(const QList<bool> &closes)
{
    m_closes = closes;
}

void FMessage::TopMost(bool value)
{
    (void)value;
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void FMessage::ButtonDefault(int32_t index)
{
    // A default past the shown buttons falls back to the first one.
    if (index < 0 || index >= m_captions.size())
        index = 0;
    m_default = index;
    cmdButton[index]->setDefault(true);
}

void FMessage::CloseButton(int32_t index)
{
    m_closeIndex = index;
}

void FMessage::ShowMessage(const QString &prompt)
{
    // Line breaks of the string table come as CR LF; the label wants plain line feeds.
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    // 1. The width the text asks for: its longest line in the window's font.
    const QFontMetricsF fm(font());
    double textWidth = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        textWidth = std::max(textWidth, fm.horizontalAdvance(line) * kTwipsPerPixel);
    const bool withIcon = !picIcon->isHidden();
    const int frame = FrameWidthTwips();
    const int iconRight = kIconLeft + kIconWidth;
    const int wanted = qRound(withIcon ? iconRight + textWidth + 600 : textWidth + 240 + frame);

    // 2. Within the limits.
    const int width = wanted < kMinWidth ? kMinWidth : (wanted > kMaxWidth ? kMaxWidth : wanted);

    // 3. The label, which wraps at its width and grows downwards.
    int labelLeft, labelWidth;
    if (withIcon) {
        labelLeft = iconRight + 300;
        labelWidth = width - 600 - iconRight;
    } else {
        labelLeft = 120;
        labelWidth = width - 240;
    }
    lblMessage->setText(text);
    const int labelWidthPx = Px(labelWidth);
    int labelHeightPx = lblMessage->heightForWidth(labelWidthPx);
    if (labelHeightPx < 0)
        labelHeightPx = lblMessage->sizeHint().height();
    if (text.isEmpty())
        labelHeightPx = 0;
    lblMessage->setGeometry(Px(labelLeft), Px(kLabelTop), labelWidthPx, labelHeightPx);

    // 4. Keep at least 300 twips between the text and the button strip at the bottom.
    int height = kStripTop + kStripHeight;
    int stripTop = kStripTop;
    const int gap = qRound(stripTop - (kLabelTop + labelHeightPx * kTwipsPerPixel));
    if (gap < kMinGap) {
        height += kMinGap - gap;
        stripTop = height - kStripHeight;
    }

    // 5. The buttons, one centred row with 105 twips between neighbours.
    const int n = static_cast<int>(m_captions.size());
    std::array<int, 4> left{};
    const int bw = kButtonWidth;
    bool place = true;
    switch (n) {
    case 1:
        left[0] = (width - bw - frame) / 2;
        break;
    case 2:
        left[0] = (width - kButtonGap - frame) / 2 - bw;
        left[1] = left[0] + bw + kButtonGap;
        break;
    case 3:
        left[1] = (width - bw - frame) / 2;
        left[0] = left[1] - bw - kButtonGap;
        left[2] = left[1] + bw + kButtonGap;
        break;
    case 4:
        left[0] = (width - kButtonGap - frame) / 2 - bw - bw - kButtonGap;
        for (int i = 1; i < 4; ++i)
            left[i] = left[i - 1] + bw + kButtonGap;
        break;
    default:
        place = false;
        break;
    }
    for (int i = 0; i < n; ++i) {
        cmdButton[i]->setText(m_captions[i]);
        if (place)
            cmdButton[i]->setGeometry(Px(left[i]), 0, Px(bw), Px(kButtonHeight));
    }
    picButtons->setGeometry(0, Px(stripTop), Px(width), Px(kStripHeight));
    setFixedSize(Px(width), Px(height));

    // 6. Modal for the whole program, with no owner window.
    m_selected = 0;
    exec();
}

void FMessage::cmdButton_Click(int index)
{
    m_selected = index;
    if (index >= 0 && index < m_closes.size() && m_closes[index])
        done(QDialog::Accepted);
    else
        emit ButtonClicked(index);
}

void FMessage::reject()
{
    // The window's close command and Escape: they count as the button the box names for them,
    // and a box that names none stays open until one of its buttons is pressed.
    if (m_closeIndex < 0)
        return;
    m_selected = m_closeIndex;
    done(QDialog::Rejected);
}

void FMessage::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // The default button also holds the focus, so that Enter presses it and no other.
    if (m_default < m_captions.size())
        cmdButton[m_default]->setFocus(Qt::OtherFocusReason);
}

void FMessage::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
        emit HelpRequested();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
