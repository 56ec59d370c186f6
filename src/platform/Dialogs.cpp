#include "platform/Dialogs.h"

#include <cstdio>

namespace orv {
namespace {

// Used only when nothing was installed: answers "no" and says so on stderr,
// so a forgotten installation is visible instead of blocking on a box.
class NullDialogs final : public Dialogs {
public:
    void notice(const std::string& text) override { std::fprintf(stderr, "notice: %s\n", text.c_str()); }
    bool confirm(const std::string& text) override
    {
        std::fprintf(stderr, "confirm (cancelled): %s\n", text.c_str());
        return false;
    }
    void error(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    bool print() override { return false; }
    bool printSetup() override { return false; }
};

NullDialogs nullDialogs;
Dialogs* installed = nullptr;

} // namespace

Dialogs& Dialogs::current()
{
    return installed ? *installed : nullDialogs;
}

void Dialogs::install(Dialogs* dialogs)
{
    installed = dialogs;
}

} // namespace orv
