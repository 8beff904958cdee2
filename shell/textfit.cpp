#include "textfit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextDocument>
#include <QToolButton>

#include <cmath>

namespace {

constexpr int kMaxSteps = 12; // enough to go from a large font down to the smallest

QString shownText(const QString &text)
{
    // A mnemonic "&" is not drawn; "&&" is one "&".
    QString shown = text;
    shown.replace(QLatin1String("&&"), QLatin1String("\x01"));
    shown.remove(QLatin1Char('&'));
    shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return shown;
}

QSize textSize(const QFontMetrics &metrics, const QString &text)
{
    int width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    return QSize(width, metrics.height() * lines.size());
}

QSize missing(const QSize &needed, const QSize &room)
{
    return QSize(qMax(0, needed.width() - room.width()), qMax(0, needed.height() - room.height()));
}

QSize pushButtonShortfall(const QPushButton *button)
{
    const QString text = shownText(button->text());
    if (text.isEmpty())
        return QSize();
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    // Style sheets may give the contents the whole button; the frame still takes a little.
    room.setWidth(qMin(room.width(), button->width() - 4));
    QSize needed = textSize(button->fontMetrics(), text);
    if (!button->icon().isNull())
        needed.rwidth() += button->iconSize().width() + 4;
    return missing(needed, room.size());
}

// A button drawn as a circle (a style sheet border radius of about half its width) has less
// room across the text under its icon than its width: the chord through the text's middle.
int roundButtonChord(const QToolButton *button)
{
    static const QRegularExpression radiusRule(QStringLiteral("border-radius:\\s*(\\d+)px"));
    const QRegularExpressionMatch match = radiusRule.match(button->styleSheet());
    const int radius = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (radius * 2 < button->width() - 4)
        return button->width();
    // Icon and text are centred together, so the text's middle lies half an icon below the
    // centre.
    const qreal offset = qMin<qreal>(radius, button->iconSize().height() / 2.0);
    return int(2 * std::sqrt(qreal(radius) * radius - offset * offset)) - 4; // inside the border
}

QSize toolButtonShortfall(const QToolButton *button)
{
    const QString text = shownText(button->text());
    const bool hasIcon = !button->icon().isNull();
    const Qt::ToolButtonStyle style = button->toolButtonStyle();
    if (text.isEmpty() || (hasIcon && style == Qt::ToolButtonIconOnly))
        return QSize();
    QSize room = button->contentsRect().adjusted(2, 2, -2, -2).size();
    QSize needed = textSize(button->fontMetrics(), text);
    if (hasIcon && style == Qt::ToolButtonTextUnderIcon)
        room.setWidth(qMin(room.width(), roundButtonChord(button)));
    if (hasIcon && style == Qt::ToolButtonTextBesideIcon)
        needed.rwidth() += button->iconSize().width() + 4;
    if (hasIcon && style == Qt::ToolButtonTextUnderIcon) {
        needed.rheight() += button->iconSize().height();
        needed.setWidth(qMax(needed.width(), button->iconSize().width()));
    }
    return missing(needed, room);
}

QSize labelShortfall(const QLabel *label)
{
    const QString text = label->text();
    if (text.isEmpty() || label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return QSize(); // pictures and rich text lay themselves out
    const int margin = 2 * label->margin() + qMax(0, label->indent());
    const QSize room = label->contentsRect().size() - QSize(margin, margin);
    if (label->wordWrap()) {
        const int height = label->heightForWidth(label->width());
        return QSize(0, qMax(0, height - label->height()));
    }
    return missing(textSize(label->fontMetrics(), shownText(text)), room);
}

QSize comboShortfall(const QComboBox *combo)
{
    // Every entry, not only the current one: each is the selected entry in its turn.
    int width = 0;
    for (int i = 0; i < combo->count(); ++i)
        width = qMax(width, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    if (width == 0)
        return QSize();
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, combo);
    return missing(QSize(width, combo->fontMetrics().height()), room.size() + QSize(0, 2));
}

QList<QWidget *> withText(QWidget *root)
{
    QList<QWidget *> found{ root };
    found += root->findChildren<QWidget *>();
    QList<QWidget *> texts;
    for (QWidget *widget : qAsConst(found)) {
        // Hidden widgets have not been laid out: their size says nothing yet.
        if (widget == root || (!widget->isWindow() && widget->isVisibleTo(root)))
            texts << widget;
    }
    return texts;
}

void layOut(QWidget *root)
{
    root->ensurePolished();
    const QList<QLayout *> layouts = root->findChildren<QLayout *>();
    for (QLayout *layout : layouts)
        layout->activate();
    if (root->layout())
        root->layout()->activate();
}

// One step smaller: the size down to a still comfortable 7 points, then narrower letters (a
// long word on a small square button), then the size down to the smallest.
bool shrink(QWidget *widget)
{
    constexpr qreal comfortable = 7.0;
    constexpr int narrowest = 70; // per cent of the normal width
    QFont font = widget->font();
    const qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    const int stretch = font.stretch() > 0 ? font.stretch() : 100;
    if (size > comfortable)
        font.setPointSizeF(qMax(comfortable, size - 0.5));
    else if (stretch > narrowest)
        font.setStretch(qMax(narrowest, stretch - 5));
    else if (size > TextFit::kSmallestPointSize)
        font.setPointSizeF(qMax(TextFit::kSmallestPointSize, size - 0.5));
    else
        return false;
    widget->setFont(font);
    return true;
}

// Watches show events: a window, or a widget shown on its own, is fitted before it is painted.
class ShowWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow() || widget->testAttribute(Qt::WA_WState_ExplicitShowHide))
                TextFit::fit(widget);
        }
        return false;
    }
};

} // namespace

namespace TextFit {

QSize shortfall(const QWidget *widget)
{
    if (const auto *button = qobject_cast<const QPushButton *>(widget))
        return pushButtonShortfall(button);
    if (const auto *button = qobject_cast<const QToolButton *>(widget))
        return toolButtonShortfall(button);
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return labelShortfall(label);
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return comboShortfall(combo);
    return QSize();
}

void fit(QWidget *root)
{
    for (int step = 0; step < kMaxSteps; ++step) {
        layOut(root);
        bool changed = false;
        const QList<QWidget *> widgets = withText(root);
        for (QWidget *widget : widgets) {
            const QSize lacking = shortfall(widget);
            if ((lacking.width() > 0 || lacking.height() > 0) && shrink(widget))
                changed = true;
        }
        if (!changed)
            return;
    }
}

void refit(QWidget *widget)
{
    widget->setFont(QFont());
    for (int step = 0; step < 4 * kMaxSteps; ++step) {
        const QSize lacking = shortfall(widget);
        if ((lacking.width() <= 0 && lacking.height() <= 0) || !shrink(widget))
            return;
    }
}

void installForApplication()
{
    static ShowWatcher *watcher = nullptr;
    if (watcher || !qApp)
        return;
    watcher = new ShowWatcher(qApp);
    qApp->installEventFilter(watcher);
}

} // namespace TextFit
