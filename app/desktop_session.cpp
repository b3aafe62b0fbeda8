#include "app/desktop_session.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace linkcalc::app {
namespace {

constexpr const char* kCliHint = "linkcalc-cli computes the same link without one";

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt takes "-platform NAME", with one dash or two.
bool PlatformPicked(int argc, char** argv) {
    if (IsSet("QT_QPA_PLATFORM")) return true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform") return true;
    }
    return false;
}

// What Qt logs while it connects to the display: passed on once it has connected, left out
// when it gives up, as the one line then says it all.
struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> held;

const char* OrNull(const QByteArray& text) {
    return text.isNull() ? nullptr : text.constData();
}

QString ReasonToGiveUp(const QString& fatal) {
    for (const HeldMessage& message : held) {
        if (message.category.startsWith("qt.qpa")) return message.text;
    }
    return fatal.section(QLatin1Char('\n'), 0, 0);
}

void HoldOrGiveUp(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held.push_back({type, QByteArray(context.file), context.line, QByteArray(context.function),
                        QByteArray(context.category), text});
        return;
    }
    std::fprintf(stderr, "linkcalc: cannot open a window: %s; %s\n",
                 ReasonToGiveUp(text).toLocal8Bit().constData(), kCliHint);
    std::fflush(stderr);
    std::_Exit(kNoDesktopStatus);
}

}  // namespace

std::unique_ptr<QApplication> OpenDesktopApplication(int& argc, char** argv) {
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !PlatformPicked(argc, argv)) {
        std::fprintf(stderr,
                     "linkcalc: needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is "
                     "set); %s\n",
                     kCliHint);
        return nullptr;
    }
    const QtMessageHandler previous = qInstallMessageHandler(HoldOrGiveUp);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(OrNull(message.file), message.line,
                                         OrNull(message.function), OrNull(message.category));
        qt_message_output(message.type, context, message.text);
    }
    held.clear();
    return app;
}

}  // namespace linkcalc::app
