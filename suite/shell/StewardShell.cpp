#include "suite/shell/StewardShell.h"

#include "common/LibStrs.h"
#include "common/ProgramDescriptor.h"
#include "common/StewardINI.h"
#include "frame/DLLBaseController.h"
#include "runtime/data/ClientLogin.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/AutoObject.h"
#include "runtime/system/InstallLayout.h"
#include "runtime/system/Libraries.h"
#include "runtime/system/QtTranslations.h"
#include "runtime/system/SystemFacts.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DemoHome.h"
#include "suite/shell/ShellLogin.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <exception>
#include <memory>
#include <unistd.h>

// The work-centre manager's library registers "HubDesk.Manager" with this
// function when the shell is linked with it (see CMakeLists.txt); without it
// the shell runs with an empty HostObject.
void RegisterHubDesk() __attribute__((weak));

namespace {

const QString ManagerProgId = QStringLiteral("HubDesk.Manager");

QString eventName(int code)
{
    switch (code) {
    case ncFormCreated:
        return QStringLiteral("form created");
    case ncFormShown:
        return QStringLiteral("form shown");
    case ncFormHidden:
        return QStringLiteral("form hidden");
    case ncFormDestroyed:
        return QStringLiteral("form destroyed");
    case ncEvent320:
        return QStringLiteral("event 320");
    default:
        return QStringLiteral("unknown event");
    }
}

// The controller is freed by its destructor; the module stays loaded.
struct ControllerDeleter {
    void operator()(TDLLBaseController* controller) const { delete controller; }
};

} // namespace

TStewardShell::TStewardShell(TShellOptions options)
    : options_(std::move(options))
{
}

int TStewardShell::Run()
{
    switch (options_.RunMode) {
    case TShellOptions::Mode::Help:
        std::fputs(qPrintable(ShellUsage()), stdout);
        return Success;
    case TShellOptions::Mode::CreateDemo:
        return runDemo();
    default:
        return runProgram();
    }
}

int TStewardShell::runDemo()
{
    try {
        TDemoOptions demo;
        demo.Slips = options_.DemoSlips;
        demo.Force = options_.DemoForce;
        if (!options_.DemoCodePage.isEmpty())
            demo.UICodePage = options_.DemoCodePage;
        // The packages installed with this program; a Chinese home can do
        // without them (its built-in texts are the simplified ones), an
        // English or traditional one would show the wrong language.
        demo.LanguagePackages = InstalledLanguagePackages();
        if (demo.LanguagePackages.isEmpty() && demo.UICodePage != QLatin1String("936")) {
            say(QStringLiteral("cannot make the demo home: no language packages for code page %1 (no "
                               "MultiLanguage folder in the data folder; STEWARD_DATA_PATH names it)")
                    .arg(demo.UICodePage));
            return ProgramFailed;
        }
        const TDemoSummary summary = CreateDemoHome(options_.DemoDir, demo);
        std::printf("demo home %s: %lld slips, %lld lines\n",
            qPrintable(QDir(options_.DemoDir).absolutePath()), static_cast<long long>(summary.Slips),
            static_cast<long long>(summary.Lines));
        std::printf("demo users and passwords: %s\n", qPrintable(DemoLogins(summary)));
        return Success;
    } catch (const std::exception& e) {
        say(QStringLiteral("cannot make the demo home: %1").arg(QString::fromUtf8(e.what())));
        return ProgramFailed;
    }
}

int TStewardShell::runProgram()
{
    QStringList folders;
    if (!options_.Home.isEmpty()) {
        const QString home = QDir(options_.Home).absolutePath();
        const QString registry = home + QStringLiteral("/registry.reg");
        if (!QFileInfo::exists(registry)) {
            say(QStringLiteral("%1 is no client home: %2 is missing\n"
                               "(steward --create-demo %1 makes a demo home there)")
                    .arg(home, registry));
            return UsageError;
        }
        qputenv("STEWARD_REGISTRY", QFile::encodeName(registry));
        folders << home + QStringLiteral("/C_HVBIN");
        verbose(QStringLiteral("registry file %1").arg(registry));
    }
    // The module folder by the shell's own place: lib/<triplet>/zorv52 installed, lib/ built.
    folders << ProgramModuleFolders();

    moduleName_ = QStringLiteral("lib%1C.so").arg(options_.Program);
    std::unique_ptr<TLibrary> library = TLibrary::Load(options_.Program + QStringLiteral("C.dll"), folders);
    if (!library) {
        say(QStringLiteral("cannot load the module of %1: %2")
                .arg(options_.Program, TLibrary::LastLoadError()));
        return ModuleError;
    }
    verbose(QStringLiteral("module %1").arg(library->Path()));
    auto getController
        = reinterpret_cast<TGetController>(library->GetProcAddress(QStringLiteral("GetController")));
    if (!getController) {
        say(QStringLiteral("%1 is no program module: it has no entry point GetController")
                .arg(library->Path()));
        return ModuleError;
    }

    RegisterAppServer();
    createManager();
    followConfiguredLocale();
    chooseMessageWay();

    int status = ModuleError;
    try {
        std::unique_ptr<TDLLBaseController, ControllerDeleter> controller(getController());
        if (!controller) {
            say(QStringLiteral("%1: GetController gave no controller").arg(moduleName_));
        } else {
            status = drive(controller.get());
            // Freed outside every event of the form; its destructor closes the form.
            controller.reset();
        }
    } catch (const std::exception& e) {
        // Module errors keep Windows line breaks ("\r"); show them as lines.
        QString message = QString::fromUtf8(e.what());
        message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        say(QStringLiteral("%1: %2").arg(options_.Program, message));
        status = ProgramFailed;
    }
    const int errors = qEnvironmentVariableIntValue(ConsoleErrorsVariable);
    if (status == Success && errors > 0) {
        say(QStringLiteral("%1: %2 error message(s)").arg(options_.Program).arg(errors));
        status = ProgramFailed;
    }
    // Whatever the module left for the event loop to delete goes while its code is there.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The module stays loaded until the process ends: Qt keeps metatypes and
    // class data that point into it.
    TLibrary::KeepLoaded(std::move(library));
    return status;
}

void TStewardShell::followConfiguredLocale()
{
    // Widgets that make texts of their own (a calendar's month and day names)
    // speak the language of the configured user-interface code page, as the
    // program's own texts do; without a configuration Qt's choice stands.
    TStewardIniC ini;
    if (!ini.LoadSettings())
        return;
    const int codePage = ini.UICodePage.trimmed().toInt();
    QLocale::setDefault(LocaleOfCodePage(codePage));
    verbose(QStringLiteral("locale %1 (code page %2)").arg(QLocale().name(), ini.UICodePage));
    // Qt's own dialogs and message-box buttons in the same language.
    const TQtTranslations qt = InstallQtTranslations(codePage);
    if (qt.Installed) {
        verbose(QStringLiteral("Qt's texts in %1 from %2").arg(qt.Language, qt.Folder));
    } else if (!qt.Language.isEmpty()) {
        // Not worth a message to the user: Qt's dialogs then speak English.
        const QString note = QStringLiteral("no Qt translation qtbase_%1.qm in %2: Qt's dialogs stay English")
                                 .arg(qt.Language, qt.Folder);
        verbose(note);
        WriteAlertLog(QStringLiteral("steward"), note, QStringLiteral("D"));
    }
}

void TStewardShell::chooseMessageWay()
{
    // The program's messages: boxes for the user at the window; for a
    // command without a window, lines on stderr that nobody has to close
    // (the module's own dialog service reads the variable), with the error
    // messages counted for the exit status.
    qunsetenv(ConsoleErrorsVariable);
    if (options_.RunMode == TShellOptions::Mode::Window) {
        qunsetenv(ConsoleMessagesVariable);
    } else {
        qputenv(ConsoleMessagesVariable, "console");
        verbose(QStringLiteral("messages on stderr"));
    }
}

void TStewardShell::createManager()
{
    if (RegisterHubDesk)
        RegisterHubDesk();
    if (!AutoObjectFactory::IsRegistered(ManagerProgId)) {
        verbose(QStringLiteral("no %1 in this shell: the program runs without the work-centre manager")
                    .arg(ManagerProgId));
        return;
    }
    try {
        manager_ = CreateOleObject(ManagerProgId);
    } catch (const std::exception& e) {
        verbose(QStringLiteral("cannot create %1: %2").arg(ManagerProgId, QString::fromUtf8(e.what())));
    }
}

int TStewardShell::drive(TDLLBaseController* controller)
{
    // The manager answers catalogue queries that carry their own statement
    // (the format-name length, for one) only for a logged-in user: the
    // shell's user, as the program itself is opened for.
    // A known program's manager reaches the server by the program's own
    // server class, as the program does: a daemon may serve no other one.
    if (!manager_.IsEmpty()) {
        try {
            if (const std::optional<TProgramDescriptor> program = FindProgram(options_.Program))
                manager_.Set(QStringLiteral("ServerName"), Variant(program->ServerClass));
            manager_.Set(QStringLiteral("UserCode"), Variant(options_.User));
        } catch (const std::exception& e) {
            verbose(QStringLiteral("the manager takes no user: %1").arg(QString::fromUtf8(e.what())));
        }
    }
    controller->HostObject = manager_;
    controller->OnControllerEvent = [this](int code, TDLLBaseController* c) { onEvent(code, c); };
    // The user proves who they are at the server's Connect: the shell's own
    // connections (the manager's) present the password from here, the
    // module's from Open's element 5.
    const TLoginAnswer login = ObtainPassword(options_);
    if (!login.Error.isEmpty()) {
        say(login.Error);
        return UsageError;
    }
    VariantList open {Variant(options_.User), Variant(options_.Company), Variant(options_.Database),
        Variant(0), Variant(options_.Features)};
    if (login.Password) {
        clientlogin::Set(options_.User, *login.Password);
        open << Variant(*login.Password);
    }
    const Variant args = Variant::ArrayOf(open);
    verbose(QStringLiteral("Open [%1, %2, %3, 0, %4]%5")
                .arg(options_.User, options_.Company, options_.Database, options_.Features,
                    login.Password ? QStringLiteral(" with a password") : QString()));
    if (controller->Open(args) != 0)
        return fail(controller, QStringLiteral("the program could not start"));
    if (options_.RunMode == TShellOptions::Mode::Window)
        return runWindow(controller);
    return runCommand(controller);
}

namespace {

// Milliseconds since this process started, by the kernel's account (start
// time in clock ticks after boot); -1 when /proc cannot tell.
qint64 millisecondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    // Field 22 (start time) follows the command name in parentheses.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double upSeconds = uptime.readAll().split(' ').value(0).toDouble();
    const long ticks = sysconf(_SC_CLK_TCK);
    if (fields.size() < 20 || ticks <= 0)
        return -1;
    const double startSeconds = fields.at(19).toDouble() / static_cast<double>(ticks);
    return static_cast<qint64>((upSeconds - startSeconds) * 1000.0);
}

// Notes the first paint of a window.
class TFirstPaint : public QObject {
public:
    bool painted = false;
    qint64 sinceStart = -1;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Only a paint of a window that is on screen counts: under a window
        // manager the window is painted into its backing store before the
        // manager has mapped it, and that paint shows nobody anything.
        if (!painted && event->type() == QEvent::Paint && isOnScreen(watched)) {
            painted = true;
            // After this paint event has been handled, the window is on screen.
            QTimer::singleShot(0, this, [this] { sinceStart = millisecondsSinceProcessStart(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool isOnScreen(QObject* object)
    {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || !widget->isVisible())
            return false;
        const QWindow* handle = widget->window()->windowHandle();
        return handle && handle->isExposed();
    }
};

QWidget* shownWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow())
            return w;
    return nullptr;
}

} // namespace

int TStewardShell::showOnce(TDLLBaseController* controller)
{
    TFirstPaint watch;
    // The window is made while it is shown: watch every paint of the application.
    qApp->installEventFilter(&watch);
    controller->SetFormVisible(true);
    QWidget* window = shownWindow();
    // Wait for the events themselves: mapping by a window manager takes round
    // trips to the X server, so a count of passes through an empty queue ends
    // before the window is there.
    QElapsedTimer waited;
    waited.start();
    constexpr qint64 PaintTimeoutMs = 30000;
    QTimer wake; // so that the wait below looks at the clock when nothing happens
    wake.start(100);
    while ((watch.sinceStart < 0 || !window) && waited.elapsed() < PaintTimeoutMs) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        window = window ? window : shownWindow();
    }
    qApp->removeEventFilter(&watch);
    if (window && watch.sinceStart < 0) {
        say(QStringLiteral("the window was not painted on screen within %1 s").arg(PaintTimeoutMs / 1000));
        controller->CloseForm();
        return ProgramFailed;
    }
    if (!window) {
        say(QStringLiteral("no window was shown"));
        controller->CloseForm();
        return ProgramFailed;
    }
    std::printf(
        "first window painted %lld ms after process start\n", static_cast<long long>(watch.sinceStart));
    std::fflush(stdout);
    if (!options_.ScreenshotPrefix.isEmpty()) {
        QTabWidget* tabs = window->findChild<QTabWidget*>();
        const int pages = tabs ? tabs->count() : 1;
        for (int i = 0; i < pages; ++i) {
            if (tabs)
                tabs->setCurrentIndex(i);
            QApplication::processEvents();
            const QString file = QStringLiteral("%1-%2.png").arg(options_.ScreenshotPrefix).arg(i + 1);
            if (window->grab().save(file))
                std::printf("%s\n", qPrintable(file));
            else
                say(QStringLiteral("cannot write %1").arg(file));
        }
    }
    controller->CloseForm();
    return Success;
}

int TStewardShell::runWindow(TDLLBaseController* controller)
{
    if (options_.ExitAfterShow)
        return showOnce(controller);
    controller->SetFormVisible(true);
    if (controller->IsClosed())
        return Success;
    QEventLoop loop;
    QObject::connect(qApp, &QApplication::aboutToQuit, &loop, &QEventLoop::quit);
    QTimer poll; // the form may go without this shell's event handler (a module that clears it)
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (formGone_ || controller->IsClosed())
            loop.quit();
    });
    poll.start(200);
    if (!formGone_)
        loop.exec();
    return Success;
}

int TStewardShell::runCommand(TDLLBaseController* controller)
{
    using Mode = TShellOptions::Mode;
    Variant keys = Variant::CreateArray(0, static_cast<int>(options_.Keys.size()) - 1);
    for (int i = 0; i < options_.Keys.size(); ++i)
        keys[i] = Variant(options_.Keys[i]);
    if (!options_.Scheme.isEmpty()) {
        // The scheme's criteria, send way and format go into the hidden
        // window; the command below runs on them as on typed criteria.
        const Variant scheme = Variant::ArrayOf({Variant(options_.Scheme)});
        verbose(QStringLiteral("Execute 12 %1").arg(scheme.DebugText()));
        if (controller->Execute(12, 0, scheme) != 0)
            return fail(controller,
                QStringLiteral("the condition scheme \"%1\" of user %2 could not be opened")
                    .arg(options_.Scheme, options_.User));
    }
    qint32 command = 0;
    Variant args;
    switch (options_.RunMode) {
    case Mode::PrintOrPreview:
        command = 5;
        args = Variant::ArrayOf({Variant(options_.Preview)});
        break;
    case Mode::PrintKeys:
        command = 6;
        args = Variant::ArrayOf({Variant(options_.Preview), keys});
        break;
    case Mode::Send:
        command = 13;
        args = Variant::CreateArray(0, -1);
        break;
    default: // ExportPictures, ExportPdf (no keys: an empty array, the window's criteria)
        command = 11;
        // The command carries the kind as its number and the target as one
        // text, the prefix of the page files or the one file.
        args = Variant::ArrayOf(
            {keys, Variant(WireOf(options_.Export->Kind())), Variant(options_.Export->WireText())});
        if (options_.Resolution > 0) {
            args.Redim(3);
            args[3] = Variant(options_.Resolution);
        }
        break;
    }
    verbose(QStringLiteral("Execute %1 %2").arg(command).arg(args.DebugText()));
    if (controller->Execute(command, 0, args) != 0) {
        controller->CloseForm(); // the form's results are the controller's once it is gone
        if (options_.NoRowsOk && noRowsFound(controller)) {
            say(QStringLiteral("%1: no rows for the criteria: nothing to do").arg(options_.Program));
            return Success;
        }
        return fail(controller, QStringLiteral("command %1 failed").arg(command));
    }
    controller->CloseForm();
    return Success;
}

void TStewardShell::onEvent(int code, TDLLBaseController* controller)
{
    verbose(QStringLiteral("event 0x%1 (%2)").arg(code, 0, 16).arg(eventName(code)));
    if (code == ncFormDestroyed) {
        formGone_ = true;
    } else if (code == ncFormHidden && options_.RunMode == TShellOptions::Mode::Window) {
        // A window that only hides when closed is gone for the user as well;
        // checked once the hide has finished, outside the form's own event.
        QTimer::singleShot(0, qApp, [this, controller] { closeWhenNoWindowIsLeft(controller); });
    }
}

void TStewardShell::closeWhenNoWindowIsLeft(TDLLBaseController* controller)
{
    // The form hides itself while it opens; shown again since, it is not gone.
    if (formGone_ || controller->IsClosed() || controller->IsFormVisible() != 0)
        return;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows) {
        if (w->isVisible())
            return;
    }
    verbose(QStringLiteral("no window is left: closing the program"));
    controller->CloseForm();
}

int TStewardShell::fail(TDLLBaseController* controller, const QString& what)
{
    controller->CloseForm();
    QString text = messageText(controller->ResultValue);
    if (text.isEmpty() && controller->ResultCode != 0)
        text = QStringLiteral("result code %1").arg(controller->ResultCode);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    say(QStringLiteral("%1: %2%3")
            .arg(options_.Program, what, text.isEmpty() ? QString() : QStringLiteral(": ") + text));
    return ProgramFailed;
}

bool TStewardShell::noRowsFound(TDLLBaseController* controller) const
{
    // The program's "no rows" is its message W;000006 (a warning, no error);
    // any error message on the way makes the run a failure all the same.
    if (qEnvironmentVariableIntValue(ConsoleErrorsVariable) > 0)
        return false;
    QString text;
    try {
        text = controller->ResultValue.ToString().trimmed();
    } catch (const std::exception&) {
        return false;
    }
    return text.startsWith(QLatin1String("W;000006"));
}

QString TStewardShell::messageText(const Variant& value) const
{
    QString text;
    try {
        text = value.ToString().trimmed();
    } catch (const std::exception&) {
        return QString();
    }
    // A message code ("E;000038") is shown with its text when the manager has one.
    static const QRegularExpression code(QStringLiteral("^([CDEIQW]);(\\d{6})(;.*)?$"));
    const QRegularExpressionMatch m = code.match(text);
    if (!m.hasMatch() || !manager_.IsObject())
        return text;
    try {
        const QString message
            = manager_.Call(QStringLiteral("GetMessage"), {Variant(m.captured(1)), Variant(m.captured(2))})
                  .ToString()
                  .trimmed();
        // The manager answers "Can not Get Message..." for a code it does not know.
        if (!message.isEmpty() && !message.startsWith(QLatin1String("Can not Get Message")))
            return QStringLiteral("%1 (%2)").arg(message, text);
    } catch (const std::exception&) {
    }
    return text;
}

void TStewardShell::say(const QString& text) const
{
    std::fprintf(stderr, "steward: %s\n", qPrintable(text));
}

void TStewardShell::verbose(const QString& text) const
{
    if (options_.Verbose)
        say(text);
}
