// A click on a machine-wide box of the real main window, on a given machine, and what it costs:
// the time until the registry file holding the value has been renamed into place (durable), the
// longest time the window's thread was kept from its events up to then and until the save has
// ended on it, and beside them a plain write of as many bytes in the same folder, flushed and
// renamed.
//
// Usage: click_bench --program-dir DIR [--clicks N] PREFIX
//        click_bench --check PREFIX
// The first prints the medians one measure a line ("name value"); --check says whether the
// machine's system.reg is read the quick way (its keys folded at load, and in Wine's order, so
// that they unfold without the file being read whole) and written back byte for byte, and how
// long loading it takes.
#include "Clock.h"
#include "DesktopLook.h"
#include "Dialogs.h"
#include "Machine.h"
#include "ProgramDir.h"
#include "ProgramMachine.h"
#include "ProgramWindows.h"
#include "System.h"
#include "WineRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

[[noreturn]] void Fail(const QString& why)
{
    std::fprintf(stderr, "click_bench: %s\n", qPrintable(why));
    std::fflush(stderr);
    std::_Exit(2);
}

ino_t InodeOf(const QByteArray& path)
{
    struct stat st = {};
    return ::stat(path.constData(), &st) == 0 ? st.st_ino : 0;
}

// A dialog would wait for an answer nobody gives, and means the run went wrong: it ends the
// bench with what it would have said.
class NoDialogs : public DialogService
{
public:
    MessageAnswer Message(QWidget*, const QString& caption, const QString& text, MessageIcon,
                          MessageButtons) override
    {
        Fail(QStringLiteral("a message box: %1: %2").arg(caption, text));
    }
    MessageAnswer WarningQuestion(QWidget*, const QString& text) override
    {
        Fail(QStringLiteral("a question: ") + text);
    }
    std::optional<QString> InputText(QWidget*, const QString& caption, const QString&,
                                     const QString&) override
    {
        Fail(QStringLiteral("an input box: ") + caption);
    }
    std::optional<QString> OpenFile(QWidget*, const QString& title, const QStringList&,
                                    const QString&) override
    {
        Fail(QStringLiteral("a file picker: ") + title);
    }
    std::optional<QString> SaveFile(QWidget*, const QString& title, const QStringList&,
                                    const QString&) override
    {
        Fail(QStringLiteral("a file picker: ") + title);
    }
    std::optional<QString> OpenPicture(QWidget*, const QString& title, const QStringList&,
                                       const QString&) override
    {
        Fail(QStringLiteral("a picture picker: ") + title);
    }
    std::optional<QColor> PickColor(QWidget*, const QColor&) override
    {
        Fail(QStringLiteral("a colour picker"));
    }
};

// Notes when a new file takes a name in a folder, off the window's thread, so that watching
// costs that thread nothing and the kernel wakes the watcher the moment the rename is made.
class RenameWatch
{
public:
    RenameWatch(const QByteArray& folder, const QByteArray& name)
        : path_(folder + '/' + name), name_(name)
    {
        fd_ = ::inotify_init1(IN_CLOEXEC);
        if (fd_ < 0 || ::inotify_add_watch(fd_, folder.constData(), IN_MOVED_TO | IN_CREATE) < 0)
            Fail(QStringLiteral("inotify: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        if (::pipe2(stop_, O_CLOEXEC) != 0) Fail(QStringLiteral("pipe"));
        thread_ = std::thread([this] { Run(); });
    }
    ~RenameWatch()
    {
        const char c = 0;
        (void)!::write(stop_[1], &c, 1);
        thread_.join();
        ::close(fd_);
        ::close(stop_[0]);
        ::close(stop_[1]);
    }

    // From now on, the first file in the name's place that is not `old` ends the loop.
    void Arm(ino_t old, QEventLoop* loop)
    {
        old_ = old;
        loop_ = loop;
        seenMs_ = 0;
        armed_ = true;
    }
    // When it was seen; 0 while not.
    double SeenMs() const { return seenMs_; }

private:
    void Run()
    {
        alignas(inotify_event) char buffer[4096];
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
            if (fds[1].revents) return;
            if (!(fds[0].revents & POLLIN)) continue;
            const double at = NowMs();
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            bool named = false;
            for (ssize_t i = 0; i < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + i);
                if (event->len && name_ == event->name) named = true;
                i += ssize_t(sizeof(inotify_event) + event->len);
            }
            if (!named || !armed_) continue;
            const ino_t now = InodeOf(path_);
            if (now == 0 || now == old_) continue;
            armed_ = false;
            seenMs_ = at;
            QMetaObject::invokeMethod(loop_, &QEventLoop::quit, Qt::QueuedConnection);
        }
    }

    QByteArray path_;
    QByteArray name_;
    int fd_ = -1;
    int stop_[2] = {-1, -1};
    std::atomic<bool> armed_ = false;
    std::atomic<ino_t> old_ = 0;
    std::atomic<QEventLoop*> loop_ = nullptr;
    std::atomic<double> seenMs_ = 0;
    std::thread thread_;
};

// The longest stretch in which the window's thread ran no timer: a timer asked to fire every
// millisecond, precisely, finds every gap between its firings. The kernel's account of the
// thread tells what the longest gap was made of: running, waiting for a core another process
// held, or else asleep (a lock, the disk).
class BusyMeter
{
public:
    BusyMeter() : schedstat_(::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC))
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Note(NowMs()); });
        timer_.start();
    }
    ~BusyMeter()
    {
        if (schedstat_ >= 0) ::close(schedstat_);
    }
    void Reset(double from)
    {
        last_ = from;
        lastAccount_ = Account();
        longest_ = {};
    }
    void Note(double at)
    {
        const Split account = Account();
        if (at - last_ > longest_.gap)
            longest_ = {at - last_, account.running - lastAccount_.running,
                        account.waiting - lastAccount_.waiting};
        last_ = at;
        lastAccount_ = account;
    }
    // The longest busy stretch: the longest gap less the interval the timer waits anyway.
    double BusyMs() const { return std::max(0.0, longest_.gap - 1.0); }
    // Of the longest gap: the time the thread ran, and the time it waited for a core.
    double RunningMs() const { return longest_.running; }
    double WaitingMs() const { return longest_.waiting; }

private:
    struct Split
    {
        double gap = 0;
        double running = 0;
        double waiting = 0;
    };
    // The thread's own clock is exact when read; the kernel's count of the time it waited for a
    // core is brought up to date when the thread gets one, which it has while it reads it.
    Split Account() const
    {
        Split split;
        timespec running = {};
        if (::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &running) == 0)
            split.running = double(running.tv_sec) * 1e3 + double(running.tv_nsec) / 1e6;
        char text[128] = {};
        unsigned long long ran = 0, waited = 0;
        if (schedstat_ >= 0 && ::pread(schedstat_, text, sizeof text - 1, 0) > 0 &&
            std::sscanf(text, "%llu %llu", &ran, &waited) == 2)
            split.waiting = double(waited) / 1e6;
        return split;
    }

    QTimer timer_;
    int schedstat_;
    double last_ = 0;
    Split lastAccount_;
    Split longest_;
};

// Runs the window's events for a while.
void Spin(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// A plain write of the bytes into a new file of the folder, flushed and renamed into place.
double PlainWriteMs(const QByteArray& folder, const QByteArray& bytes)
{
    const QByteArray temp = folder + "/click-bench-plain.tmp";
    const QByteArray target = folder + "/click-bench-plain";
    const double start = NowMs();
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail(QStringLiteral("the plain write cannot make its file"));
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n <= 0) Fail(QStringLiteral("the plain write failed"));
        done += n;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.constData(), target.constData()))
        Fail(QStringLiteral("the plain write could not be flushed or renamed"));
    return NowMs() - start;
}

// The point of a control in its window, scrolled into sight as a user would scroll to it.
QPoint PointInWindow(QWidget* control, QPoint at)
{
    for (QWidget* inner = control; inner->parentWidget(); inner = inner->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(inner->parentWidget()->parentWidget())) {
            const QPoint point = control == inner ? at : control->mapTo(inner, at);
            area->ensureVisible(point.x(), point.y(), 40, 40);
        }
    return control->mapTo(control->window(), at);
}

void Click(QWidget* control, QPoint at)
{
    QTest::mouseClick(control->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      PointInWindow(control, at));
}

// Brings up the Files page as a user does, by its tab, and gives the page.
QWidget* ShowFilesPage(TMainForm& form)
{
    QTabBar* tabs = form.Karty->tabBar();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        if (tabs->tabText(tab).remove(u'&') != QStringLiteral("Pliki i foldery")) continue;
        if (tabs->rect().contains(tabs->tabRect(tab)))
            Click(tabs, tabs->tabRect(tab).center());
        else
            form.Karty->setCurrentIndex(tab);
        if (form.Karty->currentIndex() != tab) Fail(QStringLiteral("the Files tab did not open"));
        return form.Karty->widget(tab);
    }
    Fail(QStringLiteral("no Files tab"));
}

int Check(const QString& prefix)
{
    const QByteArray path = QFile::encodeName(prefix + QStringLiteral("/system.reg"));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail(QStringLiteral("no system.reg"));
    auto source = std::make_shared<FileSource>(fd);

    // What a start pays for the file on the thread that reads it ahead: the first load of a
    // fresh process, whose memory is not yet the process's own.
    const double start = NowMs();
    const std::unique_ptr<RegistryHive> loaded = RegistryHive::Load(source);
    const double loadMs = NowMs() - start;
    const bool folded = loaded->Root().Folded();
    bool ordered = true;
    try {
        loaded->UnfoldAll();
    } catch (const RegistryOutOfOrder&) {
        ordered = false;
    }
    std::string text(source->Size(), '\0');
    if (!source->Read(0, text.size(), text.data())) Fail(QStringLiteral("system.reg unread"));
    const std::unique_ptr<RegistryHive> parsed =
        RegistryHive::Parse(QByteArray::fromRawData(text.data(), qsizetype(text.size())));
    const bool same = parsed->Text() == text;
    std::printf("folded %s\n", folded ? "yes" : "no");
    std::printf("ordered %s\n", ordered ? "yes" : "no");
    std::printf("load_ms %.1f\n", loadMs);
    std::printf("rewritten_identically %s\n", same ? "yes" : "no");
    return folded && ordered && same ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QString prefix, programDir;
    int clicks = 9;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--clicks" && i + 1 < argc)
            clicks = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--program-dir" && i + 1 < argc)
            programDir = QFile::decodeName(argv[++i]);
        else if (arg == "--check")
            check = true;
        else
            prefix = QFile::decodeName(arg);
    }
    if (prefix.isEmpty() || (!check && programDir.isEmpty())) {
        std::fprintf(stderr, "usage: click_bench --program-dir DIR [--clicks N] PREFIX\n"
                             "       click_bench --check PREFIX\n");
        return 2;
    }
    if (check) return Check(prefix);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's start, as its entry does it, up to the shown window.
    const MachineChoice choice = ChooseMachine(prefix);
    PrepareSystem(choice);
    QApplication app(argc, argv);
    SetProgramDir(programDir);
    TWatekCzasu clockThread;
    clockThread.start(QThread::IdlePriority);
    QApplication::setApplicationName(QStringLiteral("tolmar"));
    UseDesktopLook();
    NoDialogs dialogs;
    SetDialogService(&dialogs);
    const std::unique_ptr<Platform> system =
        OpenProgramMachine(choice, ProgramFile(QStringLiteral("\\data\\machine")));
    auto* machine = dynamic_cast<Machine*>(system.get());
    if (!machine) Fail(QStringLiteral("the machine did not open"));
    SetCurrentPlatform(machine);
    HoldSaves(*machine, true);

    std::vector<double> calls, durable, durableBusy, plain, busy, running, waiting;
    {
        ProgramWindows windows;
        TMainForm& form = windows.MainForm;
        clockThread.ShowOn(form.Zegar);
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowExposed(&form, 10000))
            Fail(QStringLiteral("the window was never shown"));
        (void)QTest::qWaitForWindowActive(&form, 2000);
        // The window fills the rest of its pages and lets the start's writes go once it is
        // drawn; they are on the disk before any click.
        Spin(300);
        form.FillRemainingPages();
        HoldSaves(*machine, false);
        Spin(100);
        machine->Flush();

        // The box bound to NukeOnDelete under HKEY_LOCAL_MACHINE.
        auto* box = ShowFilesPage(form)->findChild<QCheckBox*>(QStringLiteral("CheckBox4"));
        if (!box) Fail(QStringLiteral("no NukeOnDelete box on the Files page"));
        Spin(200);
        machine->Flush();

        const QByteArray folder = QFile::encodeName(machine->Prefix());
        const QByteArray registry = folder + "/system.reg";
        RenameWatch watch(folder, "system.reg");
        BusyMeter meter;
        for (int n = 0; n < clicks; ++n) {
            const bool before = box->isChecked();
            QEventLoop loop;
            bool late = false;
            QTimer::singleShot(60000, &loop, [&] {
                late = true;
                loop.quit();
            });
            watch.Arm(InodeOf(registry), &loop);
            const double start = NowMs();
            meter.Reset(start);
            // On the box itself, where a user aims: the whole caption need not be a target.
            Click(box, QPoint(7, box->height() / 2));
            const double clicked = NowMs();
            loop.exec();
            meter.Note(NowMs());
            if (late) Fail(QStringLiteral("system.reg was not replaced within a minute"));
            if (box->isChecked() == before) Fail(QStringLiteral("the click did not toggle"));
            calls.push_back(clicked - start);
            durable.push_back(watch.SeenMs() - start);
            durableBusy.push_back(meter.BusyMs());
            // The save ends on the window's thread after the rename (the old file let go among
            // others), which is the click's too.
            Spin(250);
            meter.Note(NowMs());
            busy.push_back(meter.BusyMs());
            running.push_back(meter.RunningMs());
            waiting.push_back(meter.WaitingMs());

            // The plain write runs on a quiet machine.
            machine->Flush();
            QFile file(QFile::decodeName(registry));
            if (!file.open(QIODevice::ReadOnly)) Fail(QStringLiteral("system.reg unreadable"));
            const QByteArray bytes = file.readAll();
            plain.push_back(PlainWriteMs(folder, bytes));
            std::fprintf(stderr,
                         "click %d: call %.2f ms, durable %.1f ms (busy by then %.1f ms), busy "
                         "until saved %.1f ms (running %.1f, waiting for a core %.1f), plain "
                         "%.1f ms\n",
                         n + 1, calls.back(), durable.back(), durableBusy.back(), busy.back(),
                         running.back(), waiting.back(), plain.back());
            Spin(50);
        }
        ::unlink((folder + "/click-bench-plain").constData());
        std::printf("file_bytes %lld\n", static_cast<long long>(QFileInfo(registry).size()));
        form.close();
    }
    clockThread.Finish();
    SetCurrentPlatform(nullptr);

    std::printf("clicks %d\n", clicks);
    std::printf("click_call_ms %.3f\n", Median(calls));
    std::printf("click_to_durable_ms %.3f\n", Median(durable));
    std::printf("plain_write_ms %.3f\n", Median(plain));
    std::printf("busy_to_durable_ms %.3f\n", Median(durableBusy));
    std::printf("busy_to_durable_max_ms %.3f\n",
                *std::max_element(durableBusy.begin(), durableBusy.end()));
    std::printf("busy_ms %.3f\n", Median(busy));
    const std::size_t busiest =
        std::size_t(std::max_element(busy.begin(), busy.end()) - busy.begin());
    std::printf("busy_max_ms %.3f\n", busy[busiest]);
    std::printf("busy_max_running_ms %.3f\n", running[busiest]);
    std::printf("busy_max_waiting_ms %.3f\n", waiting[busiest]);
    return 0;
}
