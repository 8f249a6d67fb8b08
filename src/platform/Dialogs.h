#pragma once
// The modal dialogs the program asks its questions with: message box, input box and the common file
// dialogs. Windows hold a reference to this interface, so tests can answer the dialogs from a script.
#include <string>

class QWidget;

namespace mvx {

// A file dialog as the program describes it: a title, a default extension (without the dot) and a filter
// string in the "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" form.
struct FileDialogSpec {
    std::string Title;
    std::string DefaultExt;
    std::string Filter;
    std::string FileName; // initial file name (usually empty)
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void MessageBox(const std::string& text, const std::string& title) = 0;
    // The text typed; empty when the user cancels.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // The chosen path; empty when the user cancels.
    virtual std::string OpenFileName(const FileDialogSpec& spec) = 0;
    virtual std::string SaveFileName(const FileDialogSpec& spec) = 0;
};

// The real dialogs, modal over parent.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void MessageBox(const std::string& text, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string OpenFileName(const FileDialogSpec& spec) override;
    std::string SaveFileName(const FileDialogSpec& spec) override;

  private:
    QWidget* parent_;
};

// Turns a "Description|pattern;pattern|..." filter string into Qt's "Description (pattern pattern);;..."
// form. "*.*" becomes "*" so that names without a dot are listed too; a lone entry ("*.txt") is its own
// pattern. An empty filter gives "".
std::string QtFilterString(const std::string& filter);

} // namespace mvx
