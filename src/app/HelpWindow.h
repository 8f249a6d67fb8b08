#pragma once
// The help viewer: the program's own help pages in a browser window, opened at the contents.
#include <QWidget>

class QTextBrowser;

namespace mvx {

// The help text (HTML), with an anchor named "contents" at the top and one per topic.
const char* Help_Html();

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the window at the contents.
    void Show_Contents();
    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

} // namespace mvx
