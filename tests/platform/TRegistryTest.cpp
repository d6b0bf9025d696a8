// The registry access object: the exact behaviour on missing values and wrong types that the
// pages rely on.
#include "TRegistry.h"

#include "Errors.h"
#include "TempMachine.h"

#include <gtest/gtest.h>

namespace {

class TRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m.WriteHive(QStringLiteral("user.reg"), "\n[Types] 1796737660\n#time=1dd871ab1a0c09e\n"
                                                "\"Bin4\"=hex:01,00,00,00\n"
                                                "\"Bin8\"=hex:01,02,03,04,05,06,07,08\n"
                                                "\"Dword5\"=dword:00000005\n"
                                                "\"Expand\"=str(2):\"%WINDIR%\\\\x\"\n"
                                                "\"Long\"=\"abcdef\"\n"
                                                "\"Multi\"=str(7):\"a\\0b\\0\"\n"
                                                "\"Nul\"=\"ab\\0cd\"\n"
                                                "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\n"
                                                "\"Short\"=\"a\"\n");
        m.Open();
    }

    static QString Error(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const ERegistryException& e) {
            return e.Text();
        }
        return QStringLiteral("(no error)");
    }

    TempMachine m;
    TRegistry reg;
};

} // namespace

TEST_F(TRegistryTest, NewObjectStartsOnCurrentUserWithNoKey)
{
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_EQ(HKEY_CLASSES_ROOT, 0x80000000u);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, 0x80000002u);
    EXPECT_EQ(HKEY_USERS, 0x80000003u);
    EXPECT_EQ(HKEY_CURRENT_CONFIG, 0x80000005u);
}

TEST_F(TRegistryTest, ReadBool)
{
    reg.OpenKey(QStringLiteral("Types"), false);
    EXPECT_TRUE(reg.ReadBool(QStringLiteral("Dword5")));
    EXPECT_EQ(Error([&] { reg.ReadBool(QStringLiteral("Missing")); }),
              QStringLiteral("Failed to get data for 'Missing'"));
    EXPECT_EQ(Error([&] { reg.ReadBool(QStringLiteral("Bin4")); }),
              QStringLiteral("Invalid data type for 'Bin4'"));
}

TEST_F(TRegistryTest, ReadIntegerByDataSizeThenType)
{
    reg.OpenKey(QStringLiteral("Types"), false);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("dword5")), 5);
    EXPECT_EQ(Error([&] { reg.ReadInteger(QStringLiteral("Short")); }),
              QStringLiteral("Invalid data type for 'Short'"));
    EXPECT_EQ(Error([&] { reg.ReadInteger(QStringLiteral("Long")); }),
              QStringLiteral("Failed to get data for 'Long'"));
    EXPECT_EQ(Error([&] { reg.ReadInteger(QStringLiteral("Bin8")); }),
              QStringLiteral("Failed to get data for 'Bin8'"));
    reg.CloseKey();
    EXPECT_EQ(Error([&] { reg.ReadInteger(QStringLiteral("Dword5")); }),
              QStringLiteral("Failed to get data for 'Dword5'"));
}

TEST_F(TRegistryTest, ReadString)
{
    reg.OpenKey(QStringLiteral("Types"), false);
    EXPECT_EQ(reg.ReadString(QStringLiteral("Missing")), QString());
    EXPECT_EQ(reg.ReadString(QStringLiteral("Expand")), QStringLiteral("%WINDIR%\\x"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Nul")), QStringLiteral("ab"));
    EXPECT_EQ(Error([&] { reg.ReadString(QStringLiteral("Dword5")); }),
              QStringLiteral("Invalid data type for 'Dword5'"));
    EXPECT_EQ(Error([&] { reg.ReadString(QStringLiteral("Multi")); }),
              QStringLiteral("Invalid data type for 'Multi'"));
    reg.CloseKey();
    EXPECT_EQ(reg.ReadString(QStringLiteral("Long")), QString());
}

TEST_F(TRegistryTest, ReadBinaryData)
{
    reg.OpenKey(QStringLiteral("Types"), false);
    int held = 0x12345678;
    EXPECT_EQ(reg.ReadBinaryData(QStringLiteral("Missing"), &held, sizeof held), 0);
    EXPECT_EQ(held, 0x12345678);
    EXPECT_EQ(reg.ReadBinaryData(QStringLiteral("Bin4"), &held, sizeof held), 4);
    EXPECT_EQ(held, 1);
    std::uint64_t q = 0;
    EXPECT_EQ(reg.ReadBinaryData(QStringLiteral("Qword"), &q, sizeof q), 8);
    EXPECT_EQ(q, 1u);
    EXPECT_EQ(Error([&] { reg.ReadBinaryData(QStringLiteral("Bin8"), &held, sizeof held); }),
              QStringLiteral("Invalid data type for 'Bin8'"));
    EXPECT_EQ(Error([&] { reg.ReadBinaryData(QStringLiteral("Dword5"), &q, sizeof q); }),
              QStringLiteral("Invalid data type for 'Dword5'"));
    EXPECT_EQ(Error([&] { reg.ReadBinaryData(QStringLiteral("Short"), &q, sizeof q); }),
              QStringLiteral("Invalid data type for 'Short'"));
}

TEST_F(TRegistryTest, WritesStoreTheirTypes)
{
    reg.OpenKey(QStringLiteral("Types"), false);
    reg.WriteBool(QStringLiteral("B"), true);
    reg.WriteBool(QStringLiteral("F"), false);
    reg.WriteString(QStringLiteral("S"), QStringLiteral("tekst"));
    const char bytes[] = {1, 0, 0, 0};
    reg.WriteBinaryData(QStringLiteral("R"), bytes, 4);
    const auto value = [&](const char* name) {
        return CurrentPlatform().RegQueryValue(HKEY_CURRENT_USER, QStringLiteral("Types"),
                                               QString::fromLatin1(name));
    };
    EXPECT_EQ(value("B")->type, REG_DWORD);
    EXPECT_EQ(value("B")->data, QByteArray("\x01\0\0\0", 4));
    EXPECT_EQ(value("F")->data, QByteArray(4, '\0'));
    EXPECT_EQ(value("S")->type, REG_SZ);
    EXPECT_EQ(value("S")->data.size(), 12); // five characters and the NUL
    EXPECT_EQ(value("R")->type, REG_BINARY);
    EXPECT_EQ(Error([&] { reg.ReadBool(QStringLiteral("R")); }),
              QStringLiteral("Invalid data type for 'R'"));
}

TEST_F(TRegistryTest, WriteWithoutAnOpenKeyFails)
{
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("Does\\Not\\Exist"), false));
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_EQ(Error([&] { reg.WriteInteger(QStringLiteral("X"), 1); }),
              QStringLiteral("Failed to set data for 'X'"));
    EXPECT_EQ(Error([&] { reg.WriteString(QStringLiteral("Y"), QString()); }),
              QStringLiteral("Failed to set data for 'Y'"));
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("Does"), false));
}

TEST_F(TRegistryTest, FailedOpenKeepsTheCurrentKey)
{
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Types"), false));
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("Nope"), false));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Types"));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Dword5")), 5);
}

TEST_F(TRegistryTest, RelativeAndAbsolutePaths)
{
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Types"), false));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Sub\\Deeper"), true));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Types\\Sub\\Deeper"));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Sub\\Deeper"), true));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Sub\\Deeper"));
    EXPECT_TRUE(
        CurrentPlatform().RegOpenKey(HKEY_CURRENT_USER, QStringLiteral("Types\\Sub\\Deeper")));
    EXPECT_TRUE(CurrentPlatform().RegOpenKey(HKEY_CURRENT_USER, QStringLiteral("Sub\\Deeper")));
    // An empty path opens the current key again.
    ASSERT_TRUE(reg.OpenKey(QString(), true));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Sub\\Deeper"));
}

TEST_F(TRegistryTest, RootKeyChangeClosesTheKey)
{
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Types"), false));
    reg.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_TRUE(reg.HasCurrentKey());
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("Types"), false));
}

TEST_F(TRegistryTest, DeleteKeyRemovesTheWholeSubtree)
{
    reg.OpenKey(QStringLiteral("\\Tree\\A\\B\\C"), true);
    reg.WriteInteger(QStringLiteral("v"), 1);
    reg.OpenKey(QStringLiteral("\\Tree\\A\\D"), true);
    reg.OpenKey(QStringLiteral("\\Tree\\E"), true);
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(QStringLiteral("Tree")));
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("Tree"), false));
    EXPECT_FALSE(reg.DeleteKey(QStringLiteral("Tree")));
    // Relative to the open key, which stays open.
    reg.OpenKey(QStringLiteral("\\Types\\X\\Y"), true);
    reg.OpenKey(QStringLiteral("\\Types"), false);
    EXPECT_TRUE(reg.DeleteKey(QStringLiteral("X")));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Types"));
    EXPECT_FALSE(CurrentPlatform().RegOpenKey(HKEY_CURRENT_USER, QStringLiteral("Types\\X")));
}

TEST_F(TRegistryTest, NamesComeSortedAsTheRegistryEnumerates)
{
    reg.OpenKey(QStringLiteral("Types"), false);
    for (const char* name : {"zeta", "Alfa", "beta"})
        reg.OpenKey(QStringLiteral("\\Types\\") + QString::fromLatin1(name), true);
    reg.OpenKey(QStringLiteral("\\Types"), false);
    QStringList keys{QStringLiteral("stale")};
    reg.GetKeyNames(keys);
    EXPECT_EQ(keys, (QStringList{"Alfa", "beta", "zeta"}));
    QStringList values;
    reg.GetValueNames(values);
    EXPECT_EQ(values.first(), QStringLiteral("Bin4"));
    EXPECT_EQ(values.size(), 9);
    reg.CloseKey();
    reg.GetValueNames(values);
    EXPECT_TRUE(values.isEmpty());
}

TEST_F(TRegistryTest, ValueExistsAndDeleteValue)
{
    reg.OpenKey(QStringLiteral("Types"), false);
    EXPECT_TRUE(reg.ValueExists(QStringLiteral("bin8")));
    EXPECT_TRUE(reg.DeleteValue(QStringLiteral("Bin8")));
    EXPECT_FALSE(reg.ValueExists(QStringLiteral("Bin8")));
    EXPECT_FALSE(reg.DeleteValue(QStringLiteral("Bin8")));
}

TEST_F(TRegistryTest, ClassesRootIsSoftwareClassesOfTheMachine)
{
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Directory\\shell\\Tolmar QX"), true));
    reg.WriteString(QString(), QStringLiteral("Tolmar"));
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(
        reg.OpenKey(QStringLiteral("Software\\CLASSES\\Directory\\shell\\Tolmar QX"), false));
    EXPECT_EQ(reg.ReadString(QString()), QStringLiteral("Tolmar"));
}

TEST_F(TRegistryTest, CurrentConfigAndUsers)
{
    reg.SetRootKey(HKEY_CURRENT_CONFIG);
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Display\\Settings"), true));
    EXPECT_TRUE(CurrentPlatform().RegOpenKey(
        HKEY_LOCAL_MACHINE,
        QStringLiteral(
            "System\\CurrentControlSet\\Hardware Profiles\\Current\\Display\\Settings")));
    reg.SetRootKey(HKEY_USERS);
    ASSERT_TRUE(reg.OpenKey(QString(), false));
    QStringList users;
    reg.GetKeyNames(users);
    EXPECT_EQ(users, (QStringList{".Default", "S-1-5-21-0-0-0-1000"}));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\S-1-5-21-0-0-0-1000\\Types"), false));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Dword5")), 5);
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("\\Nobody"), true));
}

TEST(TRegistryLinks, LinkKeysAreFollowed)
{
    TempMachine m;
    // \Registry\Machine\Software\Target, as Wine stores it.
    const QString target = QStringLiteral("\\Registry\\Machine\\Software\\Target");
    QByteArray hex;
    for (QChar c : target)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(2, '0') + ",00,";
    hex.chop(1);
    m.WriteHive(
        QStringLiteral("system.reg"),
        "\n[Software\\\\Link] 1796737655\n#time=1dd871aae37c3c6\n#link\n"
        "\"SymbolicLinkValue\"=hex(6):" +
            hex +
            "\n"
            "\n[Software\\\\Loop] 1796737655\n#time=1dd871aae37c3c6\n#link\n"
            "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,00,"
            "5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,53,00,6f,00,66,00,74,00,77,00,"
            "61,00,72,00,65,00,5c,00,4c,00,6f,00,6f,00,70,00\n"
            "\n[Software\\\\Target] 1796737655\n#time=1dd871aae37c3c6\n\"v\"=dword:00000007\n");
    m.Open();
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Link"), false));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("v")), 7);
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\Link\\Sub"), true));
    EXPECT_TRUE(
        CurrentPlatform().RegOpenKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Target\\Sub")));
    // A link to itself ends after sixteen levels instead of looping.
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("\\Software\\Loop"), false));
}
