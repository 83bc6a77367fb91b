// The jobs for a scheduler, run as a scheduler runs them: the real program copied into a
// temporary program folder, no display and a platform that does not exist (a GUI application
// could not start), one line of result and the exit code.
#include "TestPlatform.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QtTest>

namespace {
struct Run {
    int code = -1;
    QString out;
    QString err;
};

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void jobs_data();
    void jobs();
    void backupsOfOneMinuteBothStay();
    void noBackupWhileARestoreIsPending();

private:
    Run run(const QStringList& args) const;
    QTemporaryDir program_;
    QTemporaryDir out_;
    bool fifo_ = false; // the system has named pipes in its folders
};

void TestCommandLine::initTestCase()
{
    QVERIFY(QFile::copy(QStringLiteral(BREVANTO_EXE), program_.filePath("brevanto")));
    QFile::setPermissions(program_.filePath("brevanto"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    put(program_.filePath("Inventario_Opere.pro"), QByteArray(2 * 2925, 'o'));
    put(program_.filePath("Relazioni_Tecniche_Restauro.pro"), QByteArray(11895, 'r'));
    put(program_.filePath("Inventario/Opera_1.jpg"), QByteArray(20000, 'j'));
    put(out_.filePath("rotto.zip"), "PK\x03\x04 not a backup");
    QDir().mkpath(out_.filePath("cartella"));
    fifo_ = testplatform::makeFifo(out_.filePath("coda.zip"));
}

Run TestCommandLine::run(const QStringList& args) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nessuna"));
    p.setProcessEnvironment(env);
    p.start(program_.filePath("brevanto"), args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void TestCommandLine::jobs_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out"); // a pattern for the one line printed, on stdout or stderr
    const QString zipName = QStringLiteral("Brevanto-backup-\\d{8}-\\d{4}\\.zip");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "^Uso: brevanto .*--backup FILE_O_CARTELLA.*--verify FILE";
    QTest::newRow("backup into a folder")
        << QStringList{"--backup", "<out>/cartella"} << 0
        << "^Backup salvato in <out>/cartella/" + zipName + " \\(2 opere, 1 relazioni, 0,0 MB\\)\\.\n$";
    QTest::newRow("backup to a file") << QStringList{"--backup", "<out>/a.zip"} << 0
                                      << "^Backup salvato in <out>/a\\.zip \\(2 opere, 1 relazioni, 0,0 MB\\)\\.\n$";
    QTest::newRow("verify") << QStringList{"--verify", "<out>/a.zip"} << 0
                            << "^Backup valido: <out>/a\\.zip, del \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d, con 2 opere e 1 "
                               "relazioni\\.\n$";
    QTest::newRow("backup where no folder is") << QStringList{"--backup", "<out>/manca/b.zip"} << 1
                                               << "^Backup non riuscito: impossibile scrivere <out>/manca/b\\.zip\\.";
    QTest::newRow("verify a damaged file") << QStringList{"--verify", "<out>/rotto.zip"} << 1
                                           << "^Backup non valido: <out>/rotto\\.zip non \u00E8 un backup di Brevanto";
    QTest::newRow("verify a missing file") << QStringList{"--verify", "<out>/manca.zip"} << 1
                                           << "^Verifica non riuscita: impossibile leggere <out>/manca\\.zip\\.";
    QTest::newRow("verify a FIFO")
        << QStringList{"--verify", "<out>/coda.zip"} << 1
        << "^Verifica non riuscita: impossibile leggere <out>/coda\\.zip\\. Dettagli: .*not a "
           "regular file";
    QTest::newRow("backup onto an archive")
        << QStringList{"--backup", "<program>/Inventario_Opere.pro"} << 1
        << "^Attenzione: il backup non \u00E8 stato salvato perch\u00E9 <program>/Inventario_Opere\\.pro fa parte dei "
           "dati del laboratorio";
    QTest::newRow("no file named") << QStringList{"--verify"} << 2 << "^Uso: brevanto";
}

// Each job's file names stand in <out>; the verify row writes the backup it checks when no
// row before did.
void TestCommandLine::jobs()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, out);
    if (args.contains(QStringLiteral("<out>/coda.zip")) && !fifo_)
        QSKIP("This system has no named pipes in its folders.");
    for (QString& a : args)
        a.replace(QStringLiteral("<out>"), out_.path()).replace(QStringLiteral("<program>"), program_.path());
    if (args.contains(out_.filePath("a.zip")) && args[0] == u"--verify" && !QFile::exists(out_.filePath("a.zip")))
        QVERIFY(run({"--backup", out_.filePath("a.zip")}).code == 0);
    const Run r = run(args);
    QCOMPARE(r.code, code);
    QString printed = code == 0 ? r.out : r.err;
#ifdef Q_OS_WIN
    // A Windows program ends its lines as Windows does.
    QCOMPARE(printed.count(QStringLiteral("\r\n")), printed.count(u'\n'));
    printed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
    QVERIFY2((code == 0 ? r.err : r.out).isEmpty(), qPrintable(r.out + r.err));
#ifdef Q_OS_WIN
    // The program names paths with the system's separator.
    static const QRegularExpression path(QStringLiteral("(<out>|<program>)[^ ,]*"));
    QList<QRegularExpressionMatch> paths;
    for (auto m = path.globalMatch(out); m.hasNext();)
        paths.prepend(m.next()); // from the last, so that the earlier ones stay where they are
    for (const QRegularExpressionMatch& one : paths)
        out.replace(one.capturedStart(), one.capturedLength(), one.captured().replace(u'/', QStringLiteral("\\\\")));
#endif
    const QRegularExpression pattern(
        QString(out)
            .replace(QStringLiteral("<out>"), QRegularExpression::escape(QDir::toNativeSeparators(out_.path())))
            .replace(QStringLiteral("<program>"),
                     QRegularExpression::escape(QDir::toNativeSeparators(program_.path()))),
        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(pattern.match(printed).hasMatch(), qPrintable(printed));
    QFile archive(program_.filePath("Inventario_Opere.pro")); // no job ever changes the data
    QVERIFY(archive.open(QIODevice::ReadOnly));
    QCOMPARE(archive.readAll(), QByteArray(2 * 2925, 'o'));
    if (args[0] == u"--backup" && code == 0) {
        const QString made = printed.section(QStringLiteral(" in "), 1).section(QStringLiteral(" ("), 0, 0);
        QCOMPARE(run({"--verify", made}).code, 0);
    }
}

// Two scheduled backups into one folder within a minute: both stay.
void TestCommandLine::backupsOfOneMinuteBothStay()
{
    QTemporaryDir folder;
    QStringList made;
    for (int i = 0; i < 2; ++i) {
        const Run r = run({"--backup", folder.path()});
        QCOMPARE(r.code, 0);
        made << r.out.section(QStringLiteral(" in "), 1).section(QStringLiteral(" ("), 0, 0);
    }
    QVERIFY(made[0] != made[1]);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);
    for (const QString& zip : made)
        QCOMPARE(run({"--verify", zip}).code, 0);
}

// While a restore is under way or interrupted, a scheduled backup is refused with the reason,
// and the restore is left for the program to complete.
void TestCommandLine::noBackupWhileARestoreIsPending()
{
    const QString staging = program_.filePath(".brevanto-ripristino");
    QVERIFY(QDir().mkpath(staging + "/nuovo"));
    const Run r = run({"--backup", out_.filePath("durante.zip")});
    const bool kept = QFileInfo::exists(staging + "/nuovo");
    QDir(staging).removeRecursively();
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith(QString::fromUtf8("Attenzione: il backup non è stato salvato perché il ripristino di un "
                                                "backup è in corso o è stato interrotto")),
             qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(out_.filePath("durante.zip")));
    QVERIFY(kept);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
