#include "Machine.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString prefix = DefaultMachinePath();
    try {
        CreateMachineIfMissing(prefix, QCoreApplication::applicationDirPath() + QStringLiteral("/data/machine"));
        Machine machine(prefix);
        SetCurrentPlatform(&machine);
        std::printf("Tolmar: maszyna %s\n", qPrintable(prefix));
        SetCurrentPlatform(nullptr);
    } catch (const MachineError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
