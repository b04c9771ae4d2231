#include "avr_toolchain.h"

#include "board/board_tools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <vector>

namespace tests {

namespace {

const QString kCore = QLatin1String(board::BoardTools::kCoreFolder) + QStringLiteral("/cores/arduino");
const QString kVariant = QLatin1String(board::BoardTools::kCoreFolder) + QStringLiteral("/variants/mega");
QString s_why;

QStringList commonFlags()
{
    // The IDE's flags for the Mega 2560, link-time optimisation included:
    // it changes what the sketch takes in flash, SRAM and cycles.
    return {"-c", "-g", "-Os", "-w", "-ffunction-sections", "-fdata-sections", "-MMD", "-flto", "-mmcu=atmega2560",
            "-DF_CPU=16000000L", "-DARDUINO=10819", "-DARDUINO_AVR_MEGA2560", "-DARDUINO_ARCH_AVR",
            "-I" + kCore, "-I" + kVariant};
}

QStringList cppFlags()
{
    // Debian's avr-g++ 5.4 leaves DECIMAL_DIG undefined in C++, which the
    // core's WString.cpp needs.
    return QStringList{"-std=gnu++11", "-fpermissive", "-fno-exceptions", "-fno-threadsafe-statics",
                       "-Wno-error=narrowing", "-DDECIMAL_DIG=__DECIMAL_DIG__"}
           + commonFlags();
}

QStringList compileCommand(const QString& source, const QString& object)
{
    if (source.endsWith(".c")) {
        return QStringList{"avr-gcc", "-std=gnu11", "-fno-fat-lto-objects"} + commonFlags() + QStringList{source, "-o", object};
    }
    if (source.endsWith(".S")) {
        return QStringList{"avr-gcc", "-x", "assembler-with-cpp"} + commonFlags() + QStringList{source, "-o", object};
    }
    return QStringList{"avr-g++"} + cppFlags() + QStringList{source, "-o", object};
}

bool run(const QStringList& command, QString* error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (error) {
            *error = command.join(' ') + "\n" + QString::fromLocal8Bit(process.readAll());
        }
        return false;
    }
    return true;
}

} // namespace

AvrToolchain* AvrToolchain::instance()
{
    static AvrToolchain* built = [] () -> AvrToolchain* {
        for (const char* tool : {"/usr/bin/avr-g++", "/usr/bin/avr-gcc", "/usr/bin/avr-size", "/usr/bin/avr-gcc-ar"}) {
            if (!QFileInfo::exists(tool)) {
                s_why = QStringLiteral("%1 is not installed (gcc-avr, binutils-avr)").arg(tool);
                return nullptr;
            }
        }
        if (!QFileInfo::exists(kCore + "/Arduino.h") || !QFileInfo::exists(kVariant + "/pins_arduino.h")) {
            s_why = QStringLiteral("the Arduino AVR core is not installed (arduino-core-avr)");
            return nullptr;
        }
        auto* toolchain = new AvrToolchain();
        QString error;
        if (!toolchain->buildCore(&error)) {
            s_why = QStringLiteral("the Arduino core did not build: ") + error;
            return toolchain; // installed but broken: callers must fail, not skip
        }
        return toolchain;
    }();
    return built;
}

QString AvrToolchain::why()
{
    return s_why;
}

bool AvrToolchain::buildCore(QString* error)
{
    m_dir = std::make_unique<QTemporaryDir>();
    // The core archive is kept in the build tree, so a test run builds it
    // once however many test processes ask for it.
    const QString cache = QStringLiteral(LEDMARQUEE_AVR_CACHE);
    QDir().mkpath(cache);
    QLockFile lock(cache + "/core.lock");
    lock.lock();
    m_archive = cache + "/core-lto.a";
    if (QFileInfo::exists(m_archive)) {
        return true;
    }
    const QString building = cache + "/core-lto.a.part";
    QFile::remove(building);
    const QStringList sources = QDir(kCore).entryList({"*.c", "*.cpp", "*.S"}, QDir::Files);
    std::vector<std::unique_ptr<QProcess>> running;
    QStringList objects;
    bool ok = true;
    const auto finishOne = [&] {
        auto& process = running.front();
        process->waitForFinished(300000);
        if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0) {
            ok = false;
            *error += QString::fromLocal8Bit(process->readAll());
        }
        running.erase(running.begin());
    };
    // Two compilers at a time: the machine has two cores.
    for (const QString& source : sources) {
        const QString object = m_dir->filePath("core_" + source + ".o");
        const QStringList command = compileCommand(kCore + "/" + source, object);
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(command.first(), command.mid(1));
        running.push_back(std::move(process));
        objects << object;
        if (running.size() >= 2) {
            finishOne();
        }
    }
    while (!running.empty()) {
        finishOne();
    }
    if (!ok || !run(QStringList{"avr-gcc-ar", "rcs", building} + objects, error) || !QFile::rename(building, m_archive)) {
        m_archive.clear();
        return false;
    }
    return true;
}

std::optional<AvrToolchain::Sizes> AvrToolchain::build(const QByteArray& sketch, const QString& name, QString* error,
                                                       bool measureOverflow)
{
    if (m_archive.isEmpty()) {
        *error = s_why;
        return std::nullopt;
    }
    // As the IDE does: Arduino.h first, then the sketch as written.
    const QString source = m_dir->filePath(name + ".cpp");
    QFile file(source);
    file.open(QIODevice::WriteOnly);
    file.write("#include <Arduino.h>\n#line 1 \"" + name.toUtf8() + ".ino\"\n");
    file.write(sketch);
    file.close();

    const QString object = m_dir->filePath(name + ".o");
    const QString elf = elfPath(name);
    QStringList link = {"avr-gcc", "-w", "-Os", "-g", "-flto", "-fuse-linker-plugin", "-Wl,--gc-sections",
                        "-mmcu=atmega2560", "-o", elf, object,
                        m_archive, "-L" + m_dir->path(), "-lm"};
    if (measureOverflow) {
        link << "-Wl,--noinhibit-exec";
    }
    if (!run(compileCommand(source, object), error) || !run(link, error)) {
        return std::nullopt;
    }
    QProcess size;
    size.start("avr-size", {"-A", elf});
    size.waitForFinished();
    const QString table = QString::fromLocal8Bit(size.readAllStandardOutput());
    Sizes sizes;
    const QRegularExpression row(QStringLiteral("^\\.(text|data|bss)\\s+(\\d+)"), QRegularExpression::MultilineOption);
    for (auto match = row.globalMatch(table); match.hasNext();) {
        const auto m = match.next();
        const long value = m.captured(2).toLong();
        if (m.captured(1) == "text") {
            sizes.text = value;
        } else if (m.captured(1) == "data") {
            sizes.data = value;
        } else {
            sizes.bss = value;
        }
    }
    return sizes;
}

QString AvrToolchain::elfPath(const QString& name) const
{
    return m_dir->filePath(name + ".elf");
}

} // namespace tests
