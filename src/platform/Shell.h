#pragma once
// The seam through which the program opens a document (the help file, an
// exported report) with the program the desktop associates with it. The
// real implementation asks the desktop; tests install a recorder. Failures
// are returned, never thrown: callers of `open` do not report them.
#include <string>

namespace orv
{

class Shell
{
public:
    virtual ~Shell() = default;

    // Opens `path` (a file path or a URL) with its associated program.
    // False when the desktop could not open it.
    virtual bool openDocument(const std::string& path) = 0;

    // Opens through the installed implementation.
    static bool open(const std::string& path) { return current().openDocument(path); }

    // The installed implementation. The program installs the desktop one at
    // start; tests install their own. Not owned. Without one, `open` does
    // nothing and returns false.
    static Shell& current();
    static void install(Shell* shell);
};

} // namespace orv
