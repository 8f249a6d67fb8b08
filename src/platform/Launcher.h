#pragma once
// Handing a file to the desktop's default application for its type (the paint program's place).
#include <string>
#include <vector>

namespace mvx {

class Launcher {
  public:
    virtual ~Launcher() = default;
    // True when an application was started for the file.
    virtual bool OpenDocument(const std::string& path) = 0;
};

class DesktopLauncher : public Launcher {
  public:
    bool OpenDocument(const std::string& path) override;
};

// Records the files it is asked to open and reports the answer it is given.
class RecordingLauncher : public Launcher {
  public:
    bool Answer = false;
    std::vector<std::string> Opened;
    bool OpenDocument(const std::string& path) override {
        Opened.push_back(path);
        return Answer;
    }
};

} // namespace mvx
