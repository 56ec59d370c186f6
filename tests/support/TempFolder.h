#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
// `path()` ends in "/", like the program folder it usually stands for.
#include <string>

namespace orv::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

    // Makes the program folder layout: data/, Reports/, Templates/.
    void makeProgramFolder() const;
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::string path_;
};

} // namespace orv::test
