#include "text/ui/UnicodeMark.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include "base/UiText.h"
#include "text/UnicodeForm.h"

namespace cw {

namespace {

const char kMarkName[] = "UnicodeMark";

} // namespace

QIcon UnicodeMark::icon()
{
    // A "U" on an amber disc: a hint, not a warning of an error.
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0x8A, 0x00));
    p.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QStringLiteral("U"));
    p.end();
    return QIcon(pixmap);
}

UnicodeMark::UnicodeMark(QLineEdit *edit)
    : QObject(edit)
    , m_edit(edit)
    , m_action(new QAction(icon(), UiText::tr("Shift-JISで保存できない文字"), edit))
{
    setObjectName(QLatin1String(kMarkName));
    m_action->setObjectName(QStringLiteral("UnicodeMarkAction"));
    // The text names the mark's button for screen readers; it shows only the icon.
    // Hidden only once added: the edit shows the button of an action that was
    // hidden before it was added.
    edit->addAction(m_action, QLineEdit::TrailingPosition);
    m_action->setVisible(false);
    connect(edit, &QLineEdit::textChanged, this, &UnicodeMark::update);
}

UnicodeMark *UnicodeMark::attach(QLineEdit *edit)
{
    if (UnicodeMark *existing = of(edit))
        return existing;
    auto *mark = new UnicodeMark(edit);
    mark->update(edit->text());
    return mark;
}

UnicodeMark *UnicodeMark::of(const QLineEdit *edit)
{
    return edit
        ? edit->findChild<UnicodeMark *>(QLatin1String(kMarkName), Qt::FindDirectChildrenOnly)
        : nullptr;
}

bool UnicodeMark::isShown() const
{
    return m_action->isVisible();
}

QString UnicodeMark::toolTip() const
{
    return isShown() ? m_action->toolTip() : QString();
}

void UnicodeMark::update(const QString &text)
{
    const QString tip = unicodeFormToolTip(text);
    const bool show = !tip.isEmpty();
    if (show == isShown() && (!show || tip == m_action->toolTip()))
        return;
    m_action->setText(tip);
    m_action->setToolTip(tip);
    m_action->setVisible(show);
    m_edit->setAccessibleDescription(tip);
}

} // namespace cw
