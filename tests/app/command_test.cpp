// The command line: `velmora --pdf` writes a grid file's two pages without a
// window; what it refuses to write over, the options it does not go with,
// what it prints of a grid file, and --help-all; what `velmora --generate`
// refuses.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "grid/ipuz.h"
#include "support.h"

using namespace testing_support;

namespace {

struct Ran {
    int code;
    QString out, err;
};

Ran velmora(const QStringList& args) {
    QProcess p;
    p.start(QString(VELMORA_BINARY_DIR) + "/app/velmora", args);
    // One that does not end is killed as `p` goes.
    EXPECT_TRUE(p.waitForFinished(60000)) << "velmora " << args.join(' ').toStdString() << " did not end";
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class Command : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Grid g;
        g[1].ord1 = "BIG";
        g[2].caption = "A";
        g[3].caption = "\x1b]0;owned\x07";  // a text no square shows
        writeFile(at("bad.ipuz").toStdString(), sim::ipuz::Write(g).toStdString());
        g[3].caption.clear();
        grid = sim::ipuz::Write(g);
        writeFile(at("g.ipuz").toStdString(), grid.toStdString());
    }
    QString at(const QString& name) const { return QDir(QString::fromStdString(db.dir().string())).filePath(name); }
    TempDb db;
    QByteArray grid;
};

// --pdf writes neither over the grid nor over what is no regular file.
TEST_F(Command, RefusesWhatItCannotDoAndPrintsNoRawText) {
    ASSERT_TRUE(QFile::link(at("g.ipuz"), at("link.pdf")));
    ASSERT_EQ(::link(at("g.ipuz").toLocal8Bit().constData(), at("hard.pdf").toLocal8Bit().constData()), 0);
    // A device node where the system lets us make one, a named pipe elsewhere.
    const QByteArray device = at("device").toLocal8Bit();
    ASSERT_TRUE(::mknod(device.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0 ||
                ::mkfifo(device.constData(), 0600) == 0);
    const struct {
        QStringList args;
        int code;
        const char* says;  // on standard output for 0, on standard error otherwise
    } cases[] = {
        {{"--pdf", at("g.ipuz"), at("g.ipuz")}, 1, "it is named as a grid file"},
        {{"--pdf", at("g.ipuz"), at("new.IPUZ")}, 1, "it is named as a grid file"},
        {{"--pdf", at("g.ipuz"), at("link.pdf")}, 1, "it is the grid file itself"},
        {{"--pdf", at("g.ipuz"), at("hard.pdf")}, 1, "it is the grid file itself"},
        {{"--pdf", at("g.ipuz"), at("device")}, 1, "it is not a regular file"},
        {{"--pdf", at("g.ipuz"), at("out.pdf"), "--database", "postgresql://u@h/db"}, 1, "--pdf uses no word database"},
        {{"--pdf", at("bad.ipuz"), at("out.pdf")}, 1, R"(\x1B]0;owned\x07)"},
        {{"--help-all"}, 0, "--pdf <GRID.ipuz>"},
        {{"--generate", at("g.ipuz/out.ipuz")}, 1, "its folder does not exist"},
        {{"--generate", at("out.ipuz"), "--seed", "x"}, 1, "a whole number with --seed"},
        {{"--seed", "3"}, 1, "--seed belongs to --generate"},
        // The test's word database is empty.
        {{"--generate", at("out.ipuz")}, 2, "no words of 2, 3, 4 or 5 letters with clue words"},
        {{"--pdf", at("g.ipuz")}, 1, "Usage: velmora --pdf GRID.ipuz OUT.pdf"},
    };
    for (const auto& c : cases) {
        const Ran r = velmora(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE((c.code ? r.err : r.out).contains(c.says)) << r.out.toStdString() << r.err.toStdString();
        EXPECT_FALSE(r.err.contains('\x1b'));
    }
    QFile kept(at("g.ipuz"));
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == grid);
    // Nothing new, and the device left as it is (no regular file is listed for it).
    EXPECT_EQ(QDir(at("")).entryList(QDir::Files),
              QStringList({"bad.ipuz", "g.ipuz", "hard.pdf", "link.pdf", "velmora.mdb"}));

    // The puzzle page with the clue word, then the solution page with the letter.
    ASSERT_EQ(velmora({"--pdf", at("g.ipuz"), at("out.pdf")}).code, 0);
    QProcess text;
    text.start("pdftotext", {"-layout", at("out.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("BIG") && !pages[0].contains(QRegularExpression("\\bA\\b")))
        << pages[0].toStdString();
    EXPECT_TRUE(pages[1].contains("g – Solution") && pages[1].contains(QRegularExpression("\\bA\\b")))
        << pages[1].toStdString();
}

}  // namespace
