#include "platform/Registry.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace orv;

namespace
{

const char* const kSample = "REGEDIT4\r\n"
                            "\r\n"
                            "; a comment line\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\Main]\r\n"
                            "\"Install Directory\"=\"C:\\\\Program Files\\\\Netscape\\\\\"\r\n"
                            "\"Quoted\" = \"say \\\"hi\\\"\"\r\n"
                            "\"Binary\"=hex:00,01,\\\r\n"
                            "  02,03\r\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer]\r\n"
                            "\"Build\"=dword:000005dc\r\n"
                            "[HKEY_CLASSES_ROOT\\http\\shell\\open\\command]\r\n"
                            "@=\"C:\\\\IEXPLORE.EXE -nohome\"\r\n"
                            "[-HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
                            "\"Ignored\"=\"x\"\r\n"
                            "[HKEY_USERS\\Unknown]\r\n"
                            "\"Other\"=\"y\"\r\n";

std::string valueOf(const Registry& r, RootKey root, const char* path, const char* name)
{
    const RegistryKey* key = r.openKey(root, path);
    if (!key)
        return "<no key>";
    return key->readString(name).value_or("<no value>");
}

} // namespace

TEST(Registry, ReadsStringsDwordsAndDefaultValuesIgnoringCase)
{
    const Registry r = Registry::fromText(kSample);
    EXPECT_EQ(valueOf(r, RootKey::CurrentUser, "\\Software\\Netscape\\Netscape Navigator\\Main", "Install Directory"),
        "C:\\Program Files\\Netscape\\");
    EXPECT_EQ(valueOf(r, RootKey::CurrentUser, "SOFTWARE\\netscape\\NETSCAPE NAVIGATOR\\main\\", "install directory"),
        "C:\\Program Files\\Netscape\\");
    EXPECT_EQ(
        valueOf(r, RootKey::CurrentUser, "\\Software\\Netscape\\Netscape Navigator\\Main", "Quoted"), "say \"hi\"");
    EXPECT_EQ(valueOf(r, RootKey::LocalMachine, "\\Software\\Microsoft\\Internet Explorer", "Build"), "1500");
    EXPECT_EQ(valueOf(r, RootKey::ClassesRoot, "\\HTTP\\shell\\open\\command", ""), "C:\\IEXPLORE.EXE -nohome");
}

TEST(Registry, KeysOpenWithoutCreatingAndParentsExist)
{
    const Registry r = Registry::fromText(kSample);
    EXPECT_NE(r.openKey(RootKey::CurrentUser, "\\Software\\Netscape"), nullptr);
    EXPECT_EQ(r.openKey(RootKey::LocalMachine, "\\Software\\Netscape"), nullptr);
    EXPECT_EQ(r.openKey(RootKey::CurrentUser, "\\Software\\Netscape\\Other"), nullptr);
    EXPECT_EQ(r.openKey(RootKey::CurrentUser, "\\Software\\Netscape\\Other"), nullptr);
    EXPECT_EQ(r.openKey(RootKey::LocalMachine, "\\Software\\Gone"), nullptr);
    EXPECT_EQ(
        valueOf(r, RootKey::CurrentUser, "\\Software\\Netscape\\Netscape Navigator\\Main", "Binary"), "<no value>");
    EXPECT_EQ(valueOf(r, RootKey::CurrentUser, "\\Software\\Netscape", "Install Directory"), "<no value>");
}

TEST(Registry, LoadsTheFileNamedByTheEnvironment)
{
    test::TempFolder dir;
    dir.write("reg.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\IE4\\Setup]\n\"Path\"=\"C:\\\\IE\"\n");
    ::setenv("ORVALEN_REGISTRY", dir.file("reg.reg").c_str(), 1);
    const Registry r = Registry::load();
    ::unsetenv("ORVALEN_REGISTRY");
    EXPECT_EQ(valueOf(r, RootKey::LocalMachine, "Software\\Microsoft\\IE4\\Setup", "Path"), "C:\\IE");
}
