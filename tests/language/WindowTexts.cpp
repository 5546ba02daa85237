#include "WindowTexts.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <algorithm>

namespace {

int advance(const QWidget *w, const QString &text)
{
    int widest = 0;
    for (const QString &line : withoutMnemonics(text).split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

} // namespace

QString withoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

QString widgetPath(const QWidget *w)
{
    QString path = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                             : w->objectName();
    if (w->window() != w)
        path = widgetPath(w->window()) + QLatin1Char('/') + path;
    return path;
}

QString describe(const ShownText &t)
{
    return t.where + QLatin1Char(' ') + t.kind + QStringLiteral(": ") + t.text;
}

WindowTexts::WindowTexts(QWidget *window)
    : m_window(window)
{ }

void WindowTexts::run()
{
    QCoreApplication::processEvents();
    visit(m_window);
    for (QWidget *w : m_window->findChildren<QWidget *>())
        if (w->isVisibleTo(m_window))
            visit(w);
}

void WindowTexts::shown(const QWidget *w, const QString &kind, const QString &text)
{
    if (!text.isEmpty())
        texts.append({ widgetPath(w), kind, text });
}

void WindowTexts::fits(const QWidget *w, const QString &text, int room)
{
    const int needed = advance(w, text);
    if (needed > room)
        cutOff.append(QStringLiteral("%1 \"%2\": needs %3, has %4")
                          .arg(widgetPath(w), withoutMnemonics(text))
                          .arg(needed)
                          .arg(room));
}

void WindowTexts::actions(const QWidget *w, const QList<QAction *> &list)
{
    for (QAction *a : list) {
        shown(w, QStringLiteral("action"), a->text());
        shown(w, QStringLiteral("action tip"), a->toolTip());
        if (a->menu())
            actions(a->menu(), a->menu()->actions());
    }
}

void WindowTexts::visit(QWidget *w)
{
    if (w->isWindow())
        shown(w, QStringLiteral("title"), w->windowTitle());
    shown(w, QStringLiteral("tool tip"), w->toolTip());
    shown(w, QStringLiteral("name"), w->accessibleName());
    shown(w, QStringLiteral("description"), w->accessibleDescription());
    actions(w, w->actions());
    if (auto *label = qobject_cast<QLabel *>(w)) {
        shown(w, QStringLiteral("label"), label->text());
        if (!label->wordWrap() && label->textFormat() != Qt::RichText
            && !Qt::mightBeRichText(label->text()))
            fits(w, label->text(), label->contentsRect().width());
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        shown(w, QStringLiteral("button"), button->text());
        if (!button->text().isEmpty()) {
            if (qobject_cast<QPushButton *>(w)) {
                const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
                fits(w, button->text(), w->width() - margin);
            } else if (qobject_cast<QToolButton *>(w)) {
                fits(w, button->text(), w->width() - 4);
            } else if (!qobject_cast<QTabBar *>(w->parentWidget())) {
                // A check box or radio button: its indicator, the gap, then the text.
                const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w)
                    + w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
                fits(w, button->text(), w->width() - indicator);
            }
        }
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
        shown(w, QStringLiteral("group"), group->title());
        fits(w, group->title(), group->width() - 12);
    } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            shown(w, QStringLiteral("tab"), tabs->tabText(i));
            fits(w, tabs->tabText(i), tabs->tabRect(i).width());
        }
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            shown(w, QStringLiteral("item"), combo->itemText(i));
    } else if (auto *header = qobject_cast<QHeaderView *>(w)) {
        const int margin = w->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, w);
        if (QAbstractItemModel *model = header->model())
            for (int i = 0; i < model->columnCount(); ++i) {
                const QString text = model->headerData(i, header->orientation()).toString();
                shown(w, QStringLiteral("header"), text);
                if (!header->isSectionHidden(i))
                    fits(w, text, header->sectionSize(i) - 2 * margin);
            }
    }
}
