#pragma once
// A tmpfs of a few kilobytes mounted in a scratch folder, to see what a command does when the disk fills
// up part way through a file. Mounting needs root (our machines and CI run the tests as root); where it
// is not allowed Mounted() is false and the test skips.
#include "TestSupport.h"

#include <filesystem>
#include <string>
#include <sys/mount.h>

namespace mvx::test {

class SmallDisk {
  public:
    explicit SmallDisk(int kilobytes) : dir_(ScratchDir() / "disk") {
        std::filesystem::create_directories(dir_);
        const std::string size = "size=" + std::to_string(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, size.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    std::filesystem::path Path(const std::string& name) const { return dir_ / name; }

  private:
    std::filesystem::path dir_;
    bool mounted_ = false;
};

} // namespace mvx::test
