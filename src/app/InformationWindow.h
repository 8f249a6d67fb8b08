#pragma once
// The information window: the open file's statistics text in a fixed-pitch text box.
#include <QMdiSubWindow>
#include <QRectF>
#include <QSizeF>

#include <string>

class QMdiArea;
class QPlainTextEdit;

namespace mvx {

// The place Fit_Form gives the information window inside a main window of the given inner size (in any
// unit): the top-left corner, 0.45 of the inner width, a third of the inner height.
QRectF Fit_Form_Rect(QSizeF inner);

class InformationWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    explicit InformationWindow(QMdiArea* area);

    // Places and sizes the window in its main window and shows the statistics text when there is one.
    void Fit_Form(const std::string& statsText);
    // The text box gets a new statistics text (after a whole-set load).
    void Set_Stats_Text(const std::string& statsText);
    std::string Text() const;
    QPlainTextEdit* TextBox() const { return text1_; }

  protected:
    // Closing only hides the window (the main window then unchecks "&Information").
    void closeEvent(QCloseEvent* event) override;

  private:
    QMdiArea* area_;
    QPlainTextEdit* text1_;
};

} // namespace mvx
