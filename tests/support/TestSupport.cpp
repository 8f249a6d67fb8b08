#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace mvx::test {

namespace {
struct ScratchRoot {
    fs::path root;
    ScratchRoot() {
        std::random_device rd;
        root = fs::temp_directory_path() /
               ("marevox-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
        fs::create_directories(root);
    }
    ~ScratchRoot() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};
ScratchRoot& Root() {
    static ScratchRoot r;
    return r;
}
} // namespace

std::string DataFile(const std::string& name) {
    return std::string(MARVOX_DATA_DIR) + "/" + name;
}

bool HaveDataFile(const std::string& name) {
    return fs::exists(DataFile(name));
}

std::string MissingDataLine() {
    return "real instrument files not found in " + fs::path(MARVOX_DATA_DIR).lexically_normal().string();
}

fs::path ScratchDir() {
    static int counter = 0;
    fs::path dir = Root().root / ("d" + std::to_string(counter++));
    fs::create_directories(dir);
    return dir;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const fs::path& path) {
    auto bytes = ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
}

int RunCli(const std::string& args, std::string* out, std::string* err) {
    fs::path errFile = ScratchDir() / "stderr.txt";
    std::string cmd = std::string(MARVOX_CLI) + " " + args + " 2>" + errFile.string();
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) text.append(buf, n);
    int status = ::pclose(pipe);
    if (out) *out = text;
    if (err) *err = ReadText(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace mvx::test
