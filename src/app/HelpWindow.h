#pragma once

#include <QWidget>

class QTextBrowser;

namespace cw {

// The program's help: the HTML pages shipped in the resources, shown in a
// browser window of its own.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    // Shows the contents page.
    void showContents();
    QTextBrowser *browser() const { return m_browser; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTextBrowser *m_browser;
    bool m_placedBefore = false;
};

} // namespace cw
