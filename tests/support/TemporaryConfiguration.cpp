#include <QTemporaryDir>
#include <QtGlobal>

// Every test process, and every program it starts, keeps its backups and exchanged files in a
// temporary folder removed at exit, never in the configuration folder beside the build.
namespace {

struct TemporaryConfiguration {
    QTemporaryDir folder;
    TemporaryConfiguration() {
        if (qEnvironmentVariableIsEmpty("VELMORA_CONFIGURATION_DIR"))
            qputenv("VELMORA_CONFIGURATION_DIR",
                    folder.filePath(QStringLiteral("configuration")).toLocal8Bit());
    }
};

const TemporaryConfiguration configuration;

} // namespace
