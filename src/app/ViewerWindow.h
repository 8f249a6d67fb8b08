#pragma once
// The data viewer: every decoded value of one loaded ensemble at one bin, as fixed-width text that follows
// the mouse over the sub-set window's contour and profile. Its Font menu sets the text's size and
// weight.
#include "app/AppContext.h"

#include <QMdiSubWindow>

#include <array>
#include <cstdint>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace mvx {

class MainWindow;

class ViewerWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // The sizes of the Font > Size items, in menu order.
    static constexpr std::array<int, 8> kSizes{20, 15, 10, 8, 7, 6, 5, 4};
    // The message shown for a cell whose ensemble is loaded but cannot be read.
    static constexpr const char* kNoData = "No data for this ensemble";

    // Creates the window hidden, registers it with the main window ("&Viewer") and fills in the main
    // window's Update_Data_View hook.
    ViewerWindow(AppContext& app, MainWindow& main);

    // The text of ensemble index e of the loaded set at display bin b (bin row counted from the top of
    // the contour). Nothing happens while the window is minimised or when e or b lie outside the set.
    void Update_Data_View(int32_t e, int32_t b);
    // Font > Size item index (0..7) becomes the checked one and sets the text size; Font > Bold toggles.
    void set_size(int index);
    void Set_Bold();

    std::string Text() const;
    QPlainTextEdit* Text1() const { return text1_; }
    QMenu* Font_Menu() const { return fontMenu_; }
    QAction* Size_Item(int index) const;
    QAction* Bold_Item() const { return bold_; }

  protected:
    // Closing only hides the window (the main window then unchecks "&Viewer").
    void closeEvent(QCloseEvent* event) override;

  private:
    void Apply_Font();
    // The width that holds 60 characters "W" of the text font, with the frame around the text.
    void Size_To_Text();

    AppContext& app_;
    MainWindow& main_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* fontMenu_ = nullptr;
    std::array<QAction*, kSizes.size()> sizeItems_{};
    QAction* bold_ = nullptr;
    QPlainTextEdit* text1_ = nullptr;
    int size_ = 8;
};

} // namespace mvx
