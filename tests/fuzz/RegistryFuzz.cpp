// The registry parser on any bytes: it ends; what it refuses names a line of the input; what it
// reads is written so that it reads back and is written again the same (parse, write, parse,
// write); after a change, a write that copies the kept text equals a full write; and a loaded
// file with any of its keys unfolded and opened is written as the file read whole.
#include "FuzzCheck.h"
#include "WineRegistry.h"

#include <random>

namespace {

constexpr std::uint32_t kTypes[] = {0, 1, 2, 3, 4, 6, 7, 11, 0x1234};

QString NameFrom(std::mt19937_64& random)
{
    static const QString names[] = {
        QStringLiteral("a"),      QStringLiteral("A"),        QStringLiteral("a") + QChar(0),
        QStringLiteral("Zażółć"), QStringLiteral("[x]\"y\""), QStringLiteral("\t\x7f")};
    return names[random() % std::size(names)];
}

// A key reached from the root by the seed's choices, unfolding only the keys on its way: the
// same key in every hive that holds the same keys, however much of it is still folded.
RegNode& Pick(RegistryHive& hive, std::mt19937_64& random)
{
    RegNode* node = &hive.Root();
    for (;;) {
        hive.Unfold(*node);
        if (node->Children().empty() || random() % 3 == 0) return *node;
        node = node->Children().begin()[random() % node->Children().size()].get();
    }
}

// Unfolds and opens a random part of the keys.
void Touch(RegistryHive& hive, RegNode& node, std::mt19937_64& random)
{
    if (random() % 2) hive.Open(node);
    if (random() % 3 == 0) return;
    hive.Unfold(node);
    for (const auto& child : node.Children())
        Touch(hive, *child, random);
}

// A few changes picked by the seed, the same on every hive parsed from the same text.
void Change(RegistryHive& hive, std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    const int count = 1 + int(random() % 3);
    for (int i = 0; i < count; ++i) {
        RegNode& node = Pick(hive, random);
        hive.Open(node);
        const std::uint64_t stamp = 0x1d0000000000000ULL + random() % 0x1000000000000ULL;
        switch (random() % 9) {
        case 0: {
            QByteArray data;
            for (std::uint64_t n = random() % 9; n; --n)
                data.append(char(random()));
            node.SetValue(NameFrom(random), kTypes[random() % std::size(kTypes)], data);
            break;
        }
        case 1:
            if (!node.Values().empty()) node.RemoveValue(node.Values().front().name.View());
            break;
        case 2:
            hive.Unfold(node);
            node.AddChild(NameFrom(random), stamp);
            break;
        case 3:
            hive.Unfold(node);
            if (!node.Children().empty()) node.RemoveChild(node.Children().back()->Name());
            break;
        case 4:
            node.Touch(stamp);
            break;
        case 5:
            hive.SetClassName(node, NameFrom(random));
            break;
        case 6:
            node.SetLink(!node.IsLink());
            break;
        case 7:
            hive.SetArch(random() % 2 ? QStringLiteral("win32") : QStringLiteral("win64"));
            break;
        default:
            hive.SetRelativeTo(QStringLiteral("REGISTRY\\User\\") + NameFrom(random));
            break;
        }
    }
}

std::uint64_t Hash(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (std::size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 1099511628211ULL;
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    std::unique_ptr<RegistryHive> hive;
    try {
        hive = RegistryHive::Parse(text);
    } catch (const RegistryParseError& error) {
        Require(error.Line() >= 1 && error.Line() <= text.count('\n') + 1,
                "a refusal names a line of the input");
        Require(!error.Reason().isEmpty(), "a refusal says why");
        return 0;
    }
    const std::string first = hive->Text();
    std::unique_ptr<RegistryHive> again;
    try {
        again = RegistryHive::Parse(QByteArray::fromStdString(first));
    } catch (const RegistryParseError&) {
        Require(false, "what is written reads back");
    }
    Require(again->Text() == first, "a written file is written again the same");

    // A root without a key line of its own is stamped with the time of the parse; both hives
    // get one stamp so that only the writer can make them differ.
    constexpr std::uint64_t kRootStamp = 0x1dd871ab1a0c09eULL;
    const std::uint64_t seed = Hash(data, size);
    Change(*hive, seed);
    hive->Root().Touch(kRootStamp);
    const std::string incremental = hive->Text();
    const auto cold = RegistryHive::Parse(text);
    Change(*cold, seed);
    cold->Root().Touch(kRootStamp);
    const std::string full = cold->Text();
    Require(incremental == full, "a write that copies kept text equals a full write");

    // Loaded, its keys unfolded and opened only in part before the change. A file out of Wine's
    // order is read whole instead, as the machine does when unfolding or its look at every line
    // finds it.
    const std::atomic<bool> go{false};
    std::unique_ptr<RegistryHive> loaded;
    try {
        loaded = RegistryHive::Load(std::make_shared<TextSource>(text.toStdString()));
        std::mt19937_64 touch(seed ^ 0x5eed);
        Touch(*loaded, loaded->Root(), touch);
        Change(*loaded, seed);
        if (KeysOutOfOrder(TextSource(text.toStdString()), go)) throw RegistryOutOfOrder();
    } catch (const RegistryOutOfOrder&) {
        loaded = RegistryHive::Load(std::make_shared<TextSource>(text.toStdString()), true);
        Change(*loaded, seed);
    }
    loaded->Root().Touch(kRootStamp);
    Require(loaded->Text() == full, "a loaded file is written as the file read whole");

    // The look at every key line finds the file out of order exactly when unfolding every key
    // does.
    bool unfolds = true;
    try {
        RegistryHive::Load(std::make_shared<TextSource>(text.toStdString()))->UnfoldAll();
    } catch (const RegistryOutOfOrder&) {
        unfolds = false;
    }
    Require(KeysOutOfOrder(TextSource(text.toStdString()), go) == !unfolds,
            "the look at every line agrees with unfolding on the order");
    return 0;
}
