#include "userdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <filesystem>

#include "store/parts.h"
#include "store/wordstore.h"
#include "ui/pictures.h"
#include "ui/toolkit.h"

namespace app {

namespace {

struct Outcome {
    bool ok = false;
    bool cancelled = false;
    int status = -1;
    QString errors;
};

// Runs velmora-mkdb while the progress window stays responsive; Cancel stops
// the build, which leaves no word database behind.
Outcome run(const QString& program, const QStringList& args, QProgressDialog& progress) {
    Outcome out;
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(-1)) {
        out.errors = QString("%1 could not be started: %2").arg(program, p.errorString());
        return out;
    }
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        out.cancelled = true;
        p.kill();
    });
    if (p.state() != QProcess::NotRunning) loop.exec();
    p.waitForFinished(-1);
    out.errors = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    out.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    out.ok = !out.cancelled && out.status == 0;
    if (!out.ok && out.errors.isEmpty() && !out.cancelled)
        out.errors = QString("%1 ended with status %2.").arg(program).arg(out.status);
    return out;
}

bool build(const QString& mkdb, const QString& path) {
    QProgressDialog progress;
    progress.setWindowTitle("Velmora");
    progress.setWindowIcon(ui::pictures::icon(ui::pictures::Icon::App));
    progress.setLabelText(QString("Making your word database from the installed word lists.\n"
                                  "This is done once, on the first start:\n%1")
                              .arg(QDir::toNativeSeparators(path)));
    progress.setRange(0, 0);
    progress.setMinimumDuration(0);
    progress.show();
    const Outcome out = run(mkdb, {path, "--installed"}, progress);
    progress.hide();
    if (out.cancelled) return false;
    if (!out.ok || !QFileInfo::exists(path)) {
        ui::MsgBox(QString("Your word database could not be made in %1.\n\n%2")
                       .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), out.errors),
                   ui::Buttons::OK, "Velmora");
        return false;
    }
    return true;
}

}  // namespace

QString userDataFolder() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/velmora"; }

QString mkdbProgram() {
    const QString beside = QCoreApplication::applicationDirPath() + "/velmora-mkdb";
    return QFileInfo(beside).isExecutable() ? beside : QString("velmora-mkdb");
}

bool openUserData(const QString& mkdb) {
    const QString folder = userDataFolder();
    const std::string local = QFile::encodeName(folder).toStdString();
    std::error_code ec;
    std::filesystem::create_directories(local, ec);
    if (ec) {
        const std::string why = store::WhyNotWritable(local, true);
        ui::MsgBox(QString("The folder %1 could not be made: %2.")
                       .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(why.empty() ? ec.message() : why)),
                   ui::Buttons::OK, "Velmora");
        return false;
    }
    const QString path = folder + "/" + store::kDatabaseFile;
    if (!QFileInfo::exists(path) && !build(mkdb, path)) return false;
    return QDir::setCurrent(folder);
}

}  // namespace app
