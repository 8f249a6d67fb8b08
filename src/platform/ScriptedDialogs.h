#pragma once
// Dialogs answered from a script instead of a user: every question is recorded, and the answers queued
// in advance are handed out in order (an empty queue answers as Cancel would). Tests use it in place of
// the real modal dialogs.
#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace mvx {

class ScriptedDialogs : public Dialogs {
  public:
    struct Question {
        std::string Kind; // "message", "input", "open", "save"
        std::string Text; // message text or prompt; the title of a file dialog
        std::string Title;
        std::string Default; // input default, or the file dialog's filter
    };

    std::deque<std::string> InputAnswers, OpenAnswers, SaveAnswers;
    std::vector<Question> Asked;
    std::string OpenPreset; // the file name the last open dialog was preset to

    void MessageBox(const std::string& text, const std::string& title) override {
        Asked.push_back({"message", text, title, ""});
    }
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        Asked.push_back({"input", prompt, title, defaultText});
        return Next(InputAnswers);
    }
    std::string OpenFileName(const FileDialogSpec& spec) override {
        Asked.push_back({"open", spec.Title, spec.Title, spec.Filter});
        OpenPreset = spec.FileName;
        return Next(OpenAnswers);
    }
    std::string SaveFileName(const FileDialogSpec& spec) override {
        Asked.push_back({"save", spec.Title, spec.Title, spec.Filter});
        return Next(SaveAnswers);
    }
    int Count(const std::string& kind) const {
        int n = 0;
        for (const auto& q : Asked) n += q.Kind == kind ? 1 : 0;
        return n;
    }

  private:
    static std::string Next(std::deque<std::string>& answers) {
        if (answers.empty()) return {};
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
};

} // namespace mvx
