// The registry text format: what Wine writes must come back byte for byte, and what Tolmar
// writes must be what Wine would write.
#include "TRegistry.h"
#include "TempMachine.h"
#include "WineRegistry.h"

#include <QFile>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

QByteArray Fixture(const char* name)
{
    QFile f(QStringLiteral(TOLMAR_FIXTURES "/wine-prefix/") + QString::fromLatin1(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray RoundTrip(const QByteArray& text)
{
    return QByteArray::fromStdString(RegistryHive::Parse(text)->Text());
}

QByteArray Utf16(const QString& s, bool terminated = true)
{
    QByteArray data(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    if (terminated) data.append(2, '\0');
    return data;
}

// A hive with one key and one value, written as Wine writes it.
QByteArray OneValue(const QString& name, std::uint32_t type, const QByteArray& data)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    RegNode* key = hive.Root().AddChild(u"Key", 0x1dd871ab2474c98ULL);
    key->SetValue(name, type, data);
    return QByteArray::fromStdString(hive.Text());
}

QByteArray ValueLines(const QByteArray& text)
{
    const qsizetype time = text.indexOf("#time=");
    return text.mid(text.indexOf('\n', time) + 1);
}

} // namespace

TEST(RegistryFile, WineFixturesRoundTripByteForByte)
{
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
        const QByteArray text = Fixture(name);
        ASSERT_FALSE(text.isEmpty()) << name;
        EXPECT_EQ(RoundTrip(text), text) << name;
    }
}

TEST(RegistryFile, FixtureKeysAreFoundCaseInsensitively)
{
    const auto hive = RegistryHive::Parse(Fixture("system.reg"));
    RegNode* node = &hive->Root();
    for (const char* part :
         {"SYSTEM", "currentcontrolset", "Control", "ComputerName", "ComputerName"}) {
        node = node->Child(QString::fromLatin1(part));
        ASSERT_NE(node, nullptr) << part;
    }
    EXPECT_EQ(node->Name(), QStringLiteral("ComputerName"));
    ASSERT_NE(node->Value(u"computername"), nullptr);
}

TEST(RegistryFile, LinksAndClassesAndArchAreKept)
{
    const QByteArray text = HiveHeader("REGISTRY\\\\Machine") +
                            "\n[A] 1796737655\n#time=1dd871aae37c3c6\n#class=\"Cls \\\"x\\\"\"\n"
                            "\n[B] 1796737655\n#time=1dd871aae37c3c6\n#link\n"
                            "\"SymbolicLinkValue\"=hex(6):5c,00,41,00\n";
    EXPECT_EQ(RoundTrip(text), text);
}

TEST(RegistryFile, TextIsEscapedAsWineEscapesIt)
{
    const QString polish = QStringLiteral("Zażółć \"gęślą\" [jaźń] C:\\x\ty1 ła");
    const QByteArray text = OneValue(QStringLiteral("Na\"zwa"), REG_SZ, Utf16(polish));
    EXPECT_EQ(ValueLines(text),
              "\"Na\\\"zwa\"=\"Za\\x17c\\xf3\\x142\\x107 \\\"g\\x119\\x15bl\\x105\\\" "
              "[ja\\x17a\\x144] C:\\\\x\\ty1 \\x0142a\"\n");
    EXPECT_EQ(RoundTrip(text), text);
}

TEST(RegistryFile, KeyNamesEscapeBrackets)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    hive.Root().AddChild(u"A[1]", 0x1dd871ab2474c98ULL)->AddChild(u"ż", 0x1dd871ab2474c98ULL);
    const QByteArray text = QByteArray::fromStdString(hive.Text());
    EXPECT_TRUE(text.contains("\n[A\\[1\\]\\\\\\x17c] ")) << text.constData();
    EXPECT_EQ(RoundTrip(text), text);
}

TEST(RegistryFile, EmptyDefaultValueAndTypedStrings)
{
    EXPECT_EQ(ValueLines(OneValue(QString(), REG_SZ, Utf16(QString()))), "@=\"\"\n");
    EXPECT_EQ(
        ValueLines(OneValue(QStringLiteral("P"), REG_EXPAND_SZ, Utf16(QStringLiteral("%WINDIR%")))),
        "\"P\"=str(2):\"%WINDIR%\"\n");
    QByteArray multi =
        Utf16(QStringLiteral("a")) + Utf16(QStringLiteral("b")) + QByteArray(2, '\0');
    const QByteArray text = OneValue(QStringLiteral("M"), REG_MULTI_SZ, multi);
    EXPECT_EQ(ValueLines(text), "\"M\"=str(7):\"a\\0b\\0\"\n");
    EXPECT_EQ(RoundTrip(text), text);
}

TEST(RegistryFile, NumbersAndRawTypes)
{
    EXPECT_EQ(ValueLines(OneValue(QStringLiteral("D"), REG_DWORD, QByteArray("\x2a\0\0\0", 4))),
              "\"D\"=dword:0000002a\n");
    const QByteArray qword("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    EXPECT_EQ(ValueLines(OneValue(QStringLiteral("Q"), REG_QWORD, qword)),
              "\"Q\"=hex(b):01,02,03,04,05,06,07,08\n");
    EXPECT_EQ(ValueLines(OneValue(QStringLiteral("N"), REG_NONE, QByteArray())), "\"N\"=hex(0):\n");
    // A string without its terminating NUL is not text to Wine.
    EXPECT_EQ(ValueLines(OneValue(QStringLiteral("S"), REG_SZ, QByteArray("a\0", 2))),
              "\"S\"=hex(1):61,00\n");
    EXPECT_EQ(ValueLines(OneValue(QStringLiteral("U"), 0x1234, QByteArray("\xff", 1))),
              "\"U\"=hex(1234):ff\n");
}

TEST(RegistryFile, LongBinaryWrapsAtWinesColumn)
{
    QByteArray data;
    for (int i = 0; i < 300; ++i)
        data.append(char(i));
    const QByteArray text = OneValue(QStringLiteral("Blob"), REG_BINARY, data);
    const QList<QByteArray> lines = ValueLines(text).split('\n');
    ASSERT_GT(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("\"Blob\"=hex:00,01,02,"));
    // The first line holds 77 characters up to and including the comma, then the escape.
    EXPECT_EQ(lines[0].size(), 78);
    EXPECT_TRUE(lines[0].endsWith(",\\"));
    EXPECT_TRUE(lines[1].startsWith("  "));
    EXPECT_EQ(lines[1].size(), 2 + 25 * 3 + 1);
    const auto hive = RegistryHive::Parse(text);
    EXPECT_EQ(QByteArray(hive->Root().Child(u"Key")->Value(u"Blob")->data), data);
}

TEST(RegistryFile, NewKeysAndValuesAreSortedAsWineSortsThem)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    for (const char* name : {"b", "_x", "A", "a_", "Ab"})
        hive.Root().AddChild(QString::fromLatin1(name), 0x1dd871ab2474c98ULL);
    QStringList order;
    for (const auto& child : hive.Root().Children())
        order << child->Name();
    // Lower case comparison puts "_" (0x5f) before letters.
    EXPECT_EQ(order, (QStringList{"_x", "A", "a_", "Ab", "b"}));
    EXPECT_EQ(hive.Root().AddChild(u"AB", 1), hive.Root().Child(u"ab"));
}

TEST(RegistryFile, ParentsHoldingOnlySubkeysAreLeftOut)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    hive.Root().AddChild(u"Parent", 0x1dd871ab2474c98ULL)->AddChild(u"Child", 0x1dd871ab2474c98ULL);
    const QByteArray text = QByteArray::fromStdString(hive.Text());
    EXPECT_FALSE(text.contains("\n[Parent] "));
    EXPECT_TRUE(text.contains("\n[Parent\\\\Child] 1796737662\n#time=1dd871ab2474c98\n"));
}

TEST(RegistryFile, NotARegistryFileIsRefused)
{
    EXPECT_THROW(RegistryHive::Parse("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n"), std::runtime_error);
    EXPECT_THROW(RegistryHive::Parse(QByteArray()), std::runtime_error);
}

TEST(RegistryFile, ALineThatCannotBeReadIsRefusedWithItsNumber)
{
    const QByteArray head = "WINE REGISTRY Version 2\n\n[A] 1\n#time=1\n";
    const std::vector<std::tuple<QByteArray, qsizetype, QString>> cases = {
        // A backslash at the end of the text once made the parser spin forever.
        {"WINE REGISTRY Version 2\n[\\", 2, "znakiem „\\”"},
        {head + "@=\"abc\\", 5, "znakiem „\\”"},
        {head + "\"Path\"=\"C:\\", 5, "znakiem „\\”"},
        {head + "\"Path\"=\"C:\\\r\n\"Next\"=\"x\"\n", 5, "znakiem „\\”"},
        {head + "[B 12\n\"v\"=dword:1\n", 5, "znakiem „]”"},
        {head + "junk\n", 5, "nieczytelny wiersz"},
        {"WINE REGISTRY Version 2\n\"v\"=dword:1\n", 2, "przed pierwszym kluczem"},
        {head + "\"v\"=word:1\n", 5, "nieznany typ"},
        {head + "\"v\"=dword:123456789\n", 5, "nieczytelna liczba"},
        {head + "\"v\"=dword:\n", 5, "nieczytelna liczba"},
        {head + "\"v\"=\"text\" trailing\n", 5, "na końcu wiersza"},
        {head + "\"v\" \"x\"\n", 5, "brak znaku „=”"},
        {head + "\"v=1\n", 5, "nazwa wartości"},
        {head + "\"v\"=hex:01,zz\n", 5, "szesnastkowe"},
        {head + "\"v\"=hex:01,\\\n  02,\\\n", 6, "w środku danych"},
        {head + "#class=\"open\n", 5, "nazwa klasy"},
        {head + "#flags=1\n", 5, "nieznana opcja"},
        {"WINE REGISTRY Version 2\n#arch=win16\n", 2, "architektura"},
        {"WINE REGISTRY Version 2\n[" + QByteArray("k\\\\").repeated(513) + "]\n", 2,
         "512 poziomach"},
    };
    for (const auto& [text, line, reason] : cases) {
        try {
            RegistryHive::Parse(text);
            ADD_FAILURE() << "read: " << text.constData();
        } catch (const RegistryParseError& e) {
            EXPECT_EQ(e.Line(), line) << text.constData();
            EXPECT_TRUE(e.Reason().contains(reason)) << qPrintable(e.Reason());
        }
    }
}

TEST(RegistryFile, WhatWineReadsIsRead)
{
    const QByteArray text = "WINE REGISTRY Version 2\n"
                            ";; comment\n"
                            "  [A] 1796737660  \n"
                            "\t\"s\" = str:\"plain\"\n"
                            "\"d\"=dword:2a \r\n"
                            "\"h\"=hex(b):01,2,\\\n"
                            "   03\n"
                            "#link\n";
    const auto hive = RegistryHive::Parse(text);
    const RegNode* key = hive->Root().Child(u"A");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(QByteArray(key->Value(u"s")->data), Utf16(QStringLiteral("plain")));
    EXPECT_EQ(QByteArray(key->Value(u"d")->data), QByteArray("\x2a\0\0\0", 4));
    EXPECT_EQ(key->Value(u"h")->type, REG_QWORD);
    EXPECT_EQ(QByteArray(key->Value(u"h")->data), QByteArray("\x01\x02\x03", 3));
    EXPECT_TRUE(key->IsLink());
}

TEST(RegistryFile, NamesEndingInNulAreWrittenApart)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    RegNode* key = hive.Root().AddChild(u"K", 0x1dd871ab2474c98ULL);
    key->SetValue(QStringLiteral("a"), REG_DWORD, QByteArray(4, '\1'));
    key->SetValue(QStringLiteral("a") + QChar(0), REG_DWORD, QByteArray(4, '\2'));
    hive.Root().AddChild(QStringLiteral("K") + QChar(0), 0x1dd871ab2474c98ULL);
    const QByteArray text = QByteArray::fromStdString(hive.Text());
    const auto back = RegistryHive::Parse(text);
    EXPECT_EQ(back->Root().Children().size(), 2u) << text.constData();
    EXPECT_EQ(back->Root().Child(u"K")->Values().size(), 2u) << text.constData();
    EXPECT_EQ(RoundTrip(text), text);
}

TEST(RegistryFile, ANewHeaderAfterAWriteKeepsTheKeptText)
{
    const QByteArray fixture = Fixture("userdef.reg");
    const auto warm = RegistryHive::Parse(fixture);
    const std::string first = warm->Text();
    const auto change = [](RegistryHive& hive) {
        hive.SetArch(QStringLiteral("win32"));
        hive.SetRelativeTo(QStringLiteral("REGISTRY\\User\\S-1-5-21-1-2-3-1001"));
    };
    change(*warm);
    const auto cold = RegistryHive::Parse(fixture);
    change(*cold);
    EXPECT_EQ(warm->Text(), cold->Text());
}

TEST(RegistryFile, ValuesWrittenByTolmarReadBackAfterReload)
{
    TempMachine m;
    m.Open();
    QByteArray blob;
    for (int i = 0; i < 1000; ++i)
        blob.append(char(i * 7));
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Tolmar\\Próba [1]"), true));
        reg.WriteString(QStringLiteral("Ścieżka"), QStringLiteral("C:\\Program Files\\\"Zażółć\""));
        reg.WriteString(QString(), QString());
        reg.WriteInteger(QStringLiteral("Liczba"), -2);
        reg.WriteBinaryData(QStringLiteral("Dane"), blob.constData(), int(blob.size()));
    }
    m.Reopen();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("software\\TOLMAR\\próba [1]"), false));
    EXPECT_EQ(reg.ReadString(QStringLiteral("ścieżka")),
              QStringLiteral("C:\\Program Files\\\"Zażółć\""));
    EXPECT_TRUE(reg.ValueExists(QString()));
    EXPECT_EQ(reg.ReadString(QString()), QString());
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Liczba")), -2);
    QByteArray back(1000, '\0');
    EXPECT_EQ(reg.ReadBinaryData(QStringLiteral("Dane"), back.data(), 1000), 1000);
    EXPECT_EQ(back, blob);
}

TEST(RegistryFile, ChangedKeyGetsAFreshStampOthersKeepTheirs)
{
    TempMachine m;
    m.WriteHive(QStringLiteral("user.reg"),
                "\n[Keep] 1796737660\n#time=1dd871ab1a0c09e\n\"v\"=dword:00000001\n"
                "\n[Touch] 1796737660\n#time=1dd871ab1a0c09e\n\"v\"=dword:00000001\n");
    m.Open();
    const std::uint64_t before = FileTimeNow();
    {
        TRegistry reg;
        reg.OpenKey(QStringLiteral("Touch"), false);
        reg.WriteInteger(QStringLiteral("v"), 2);
    }
    m.Get().Flush();
    const QByteArray text = m.ReadFile(QStringLiteral("user.reg"));
    EXPECT_TRUE(text.contains("[Keep] 1796737660\n#time=1dd871ab1a0c09e\n"));
    const auto hive = RegistryHive::Parse(text);
    EXPECT_GE(hive->Root().Child(u"Touch")->Modified(), before);
    EXPECT_LE(hive->Root().Child(u"Touch")->Modified(), FileTimeNow());
}

TEST(RegistryFile, KeptTextAfterChangesEqualsAFullWrite)
{
    const QByteArray fixture = Fixture("system.reg");
    const auto changes = [](RegistryHive& hive) {
        RegNode& root = hive.Root();
        RegNode* software = root.Child(u"Software");
        software->Child(u"Microsoft")
            ->AddChild(u"Tolmar", 5)
            ->SetValue(QStringLiteral("A"), REG_DWORD, QByteArray(4, '\1'));
        software->AddChild(u"Wine", 5)->Touch(0x1dd871ab2474c98ULL);
        root.Child(u"System")
            ->Child(u"CurrentControlSet")
            ->Child(u"Control")
            ->RemoveChild(u"ComputerName");
        // A key with only subkeys is left out once it gains one and has no values.
        RegNode* lone = root.AddChild(u"Lone", 0x1dd871ab2474c98ULL);
        lone->AddChild(u"Inner", 0x1dd871ab2474c98ULL);
        software->Child(u"Classes")->Child(u".bmp")->RemoveValue(u"Content Type");
    };
    const auto warm = RegistryHive::Parse(fixture);
    const std::string first = warm->Text();
    EXPECT_EQ(QByteArray::fromStdString(first), fixture);
    changes(*warm);
    const std::string incremental = warm->Text();
    const auto cold = RegistryHive::Parse(fixture);
    changes(*cold);
    const std::string full = cold->Text();
    EXPECT_EQ(incremental, full);
    EXPECT_NE(incremental, fixture.toStdString());
    EXPECT_EQ(warm->Text(), incremental) << "unchanged twice";

    // A text that never reached the disk is not copied from: the next is made whole.
    const auto failed = RegistryHive::Parse(fixture);
    failed->Plan();
    failed->NotWritten();
    changes(*failed);
    EXPECT_EQ(failed->Text(), full);
}

TEST(RegistryFile, ALoadedTreeHoldsNoRoomForMore)
{
    const auto hive = RegistryHive::Parse(Fixture("system.reg"));
    std::size_t keys = 0, spare = 0;
    std::vector<const RegNode*> todo{&hive->Root()};
    while (!todo.empty()) {
        const RegNode* key = todo.back();
        todo.pop_back();
        ++keys;
        spare += key->Children().capacity() - key->Children().size();
        spare += key->Values().capacity() - key->Values().size();
        for (const auto& child : key->Children())
            todo.push_back(child.get());
    }
    EXPECT_GT(keys, 9000u);
    EXPECT_EQ(spare, 0u);
}

TEST(RegistryFile, AClassStaysWithItsKeyAndGoesWithIt)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    RegNode* parent = hive.Root().AddChild(u"P", 0x1dd871ab2474c98ULL);
    hive.SetClassName(*parent->AddChild(u"Classed", 0x1dd871ab2474c98ULL), QStringLiteral("Cls"));
    hive.SetClassName(*parent->AddChild(u"Empty", 0x1dd871ab2474c98ULL), QString());
    const std::string first = hive.Text();
    EXPECT_NE(first.find("[P\\\\Classed] 1796737662\n#time=1dd871ab2474c98\n#class=\"Cls\"\n"),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("[P\\\\Empty] 1796737662\n#time=1dd871ab2474c98\n#class=\"\"\n"),
              std::string::npos)
        << first;
    EXPECT_EQ(RoundTrip(QByteArray::fromStdString(first)), QByteArray::fromStdString(first));

    // Keys made after the classed ones are gone may take their place in memory, not their class.
    parent->RemoveChild(u"Classed");
    parent->RemoveChild(u"Empty");
    for (const char16_t* name : {u"New1", u"New2", u"New3"})
        parent->AddChild(QStringView(name), 0x1dd871ab2474c98ULL);
    for (const auto& child : parent->Children())
        EXPECT_EQ(hive.ClassName(*child), nullptr) << qPrintable(child->Name());
    const std::string second = hive.Text();
    EXPECT_EQ(second.find("#class"), std::string::npos) << second;
}

TEST(RegistryFile, ValuesAndChildrenRemovedToNoneAndAddedAgain)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    RegNode* key = hive.Root().AddChild(u"K", 0x1dd871ab2474c98ULL);
    for (const char* name : {"c", "a", "b"}) {
        key->SetValue(QString::fromLatin1(name), REG_DWORD, QByteArray(4, name[0]));
        key->AddChild(QString::fromLatin1(name), 0x1dd871ab2474c98ULL);
    }
    key->SetValue(QStringLiteral("B"), REG_SZ, Utf16(QStringLiteral("x")));
    const auto names = [](const RegNode& node) {
        QStringList values, children;
        for (const RegNodeValue& value : node.Values())
            values << QString(value.name);
        for (const auto& child : node.Children())
            children << child->Name();
        return std::pair(values, children);
    };
    EXPECT_EQ(names(*key), std::pair(QStringList{"a", "b", "c"}, QStringList{"a", "b", "c"}));
    EXPECT_EQ(key->Value(u"b")->type, REG_SZ);
    EXPECT_EQ(QByteArray(key->Value(u"b")->data), Utf16(QStringLiteral("x")));

    for (const char16_t* name : {u"b", u"c", u"a"}) {
        EXPECT_TRUE(key->RemoveValue(QStringView(name)));
        EXPECT_TRUE(key->RemoveChild(QStringView(name)));
    }
    EXPECT_FALSE(key->RemoveValue(u"a"));
    EXPECT_FALSE(key->RemoveChild(u"a"));
    EXPECT_TRUE(key->Values().empty());
    EXPECT_TRUE(key->Children().empty());
    EXPECT_EQ(key->Value(u"a"), nullptr);
    EXPECT_EQ(key->Child(u"a"), nullptr);

    key->SetValue(QStringLiteral("z"), REG_DWORD, QByteArray(4, '\1'));
    key->AddChild(u"z", 0x1dd871ab2474c98ULL);
    EXPECT_EQ(names(*key), std::pair(QStringList{"z"}, QStringList{"z"}));
    EXPECT_EQ(ValueLines(QByteArray::fromStdString(hive.Text())),
              "\"z\"=dword:01010101\n\n[K\\\\z] 1796737662\n#time=1dd871ab2474c98\n");
}
