#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

void checkRun(const QString &program, const QStringList &arguments, const QByteArray &out,
              const QByteArray &err, int exitCode,
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.readAllStandardError(), err);
    QCOMPARE(process.readAllStandardOutput(), out);
    QCOMPARE(process.exitCode(), exitCode);
}

void addRow(const char *name, const QString &script, const QByteArray &out, const QByteArray &err,
            int exitCode)
{
    QTest::addRow("%s", name) << script << out << err << exitCode;
}

void syntaxError(const char *name, const QString &script, const QByteArray &range,
                 const QByteArray &message)
{
    addRow(name, script, "", range + ": syntax error: " + message + " (-2741)\n", 1);
}

QByteArray nonZero(const QByteArray &range, int status)
{
    return range + ": execution error: The command exited with a non-zero status. (" +
           QByteArray::number(status) + ")\n";
}

} // namespace

class TestVantorelOsascript : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("exitCode");

        syntaxError("empty", "", "0:0", "Expected “do shell script” but found end of script.");
        syntaxError("missing do shell script", "\"echo hi\"", "0:9",
                    "Expected “do shell script” but found string.");
        syntaxError("another command", "display dialog \"x\"", "0:7",
                    "Expected “do shell script” but found identifier.");
        syntaxError("no literal", "do shell script", "15:15",
                    "Expected string but found end of script.");
        syntaxError("unterminated literal", "do shell script \"abc", "16:20",
                    "Expected “\"” but found end of script.");
        syntaxError("literal ending in an escaped quote", "do shell script \"abc\\\"", "16:22",
                    "Expected “\"” but found end of script.");
        syntaxError("unknown escape", "do shell script \"a\\qb\"", "18:20",
                    "Unknown escape sequence “\\q” in string.");
        syntaxError("trailing word", "do shell script \"ls\" now", "21:24",
                    "Expected end of line but found identifier.");
        syntaxError("trailing operator", "do shell script \"a\" & \"b\"", "20:21",
                    "Expected end of line but found “&”.");
        syntaxError("second statement", "do shell script \"a\"\ndo shell script \"b\"", "20:22",
                    "Expected end of line but found identifier.");
        syntaxError("ranges count characters", "do shell script \"é😀\" 42", "21:23",
                    "Expected end of line but found number.");
        syntaxError("privileges clause cut short", "do shell script \"a\" with administrator",
                    "38:38", "Expected “administrator privileges” but found end of script.");
        syntaxError("privileges clause misspelt", "do shell script \"a\" with admin privileges",
                    "25:30", "Expected “administrator privileges” but found identifier.");

        addRow("output passed through", "do shell script \"echo hello; echo world\"",
               "hello\nworld\n", "", 0);
        addRow("every escape", R"(do shell script "printf '%s' 'q\"b\\s\nn\rr\tt'")",
               "q\"b\\s\nn\rr\tt", "", 0);
        addRow("error text of a success dropped", "do shell script \"echo note >&2\"", "", "", 0);
        addRow("status and error text", "do shell script \"echo oops >&2; exit 3\"", "",
               "0:39: execution error: oops (3)\n", 1);
        addRow("only the final newline removed",
               R"(do shell script "printf 'a\n\nb\n\n' >&2; exit 4")", "",
               "0:49: execution error: a\n\nb\n (4)\n", 1);
        addRow("empty error text", "do shell script \"echo partial; exit 7\"", "partial\n",
               nonZero("0:38", 7), 1);
        addRow("case, white space and range", "\n  DO Shell\tscript\"exit 2\"  \n", "",
               nonZero("3:26", 2), 1);
        addRow("killed by a signal", "do shell script \"kill -KILL $$\"", "",
               "0:31: execution error: The command was terminated by signal 9. (137)\n", 1);
    }

    void run()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, exitCode);
        checkRun(VANTOREL_OSASCRIPT_PATH, {"-e", script}, out, err, exitCode);
    }

    void elevatedAsRoot()
    {
        if (geteuid() != 0)
            QSKIP("needs root");
        checkRun(VANTOREL_OSASCRIPT_PATH,
                 {"-e", "do shell script \"id -u\"\tWITH \n Administrator\r\n  privileges  \n"},
                 "0\n", "", 0);
    }

    // As an ordinary user, with a stand-in pkexec (or none) as the only program on PATH.
    void elevatedAsUser_data()
    {
        QTest::addColumn<QByteArray>("pkexec");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("exitCode");

        const QString id = "do shell script \"/usr/bin/id -u%1\"";
        const QString elevated = id + " with administrator privileges";
        const QByteArray canceled = "0:62: execution error: User canceled. (-128)\n";
        const auto row = [](const char *tag, const QByteArray &pkexec, const QString &script,
                            const QByteArray &out, const QByteArray &err, int exitCode) {
            QTest::addRow("%s", tag) << pkexec << script << out << err << exitCode;
        };
        row("no way to elevate", {}, elevated.arg(""), {},
            "0:62: execution error: Administrator privileges are not available: pkexec was not "
            "found. (-10004)\n",
            1);
        row("dialog dismissed", "exit 126", elevated.arg(""), {}, canceled, 1);
        row("not authorised", "echo 'Not authorized' >&2; exit 127", elevated.arg(""), {}, canceled,
            1);
        row("granted", "exec \"$@\"", elevated.arg(""), "%UID%\n", {}, 0);
        row("granted, the command's own 127 is no cancel", "exec \"$@\"",
            elevated.arg("; exit 127"), "%UID%\n", nonZero("0:72", 127), 1);
        row("no clause, no elevation", {}, id.arg(""), "%UID%\n", {}, 0);
    }

    void elevatedAsUser()
    {
        QFETCH(QByteArray, pkexec);
        QFETCH(QString, script);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, exitCode);

        // Everything the user runs must be reachable by that user.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther);
        const QString interpreter = dir.filePath("vantorel-osascript");
        QVERIFY(QFile::copy(VANTOREL_OSASCRIPT_PATH, interpreter));
        if (!pkexec.isEmpty()) {
            QFile stub(dir.filePath("pkexec"));
            QVERIFY(stub.open(QIODevice::WriteOnly));
            stub.write("#!/bin/sh\n" + pkexec + "\n");
            stub.setPermissions(stub.permissions() | QFile::ExeOther | QFile::ReadOther);
        }
        QProcessEnvironment environment;
        environment.insert("PATH", dir.path());

        QString program = interpreter;
        QStringList arguments{"-e", script};
        uid_t uid = geteuid();
        if (uid == 0) {
            program = QStandardPaths::findExecutable("setpriv");
            if (program.isEmpty())
                QSKIP("needs setpriv to drop root");
            uid = 65534;
            arguments =
                QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", interpreter} +
                arguments;
        }
        checkRun(program, arguments, out.replace("%UID%", QByteArray::number(uid)), err, exitCode,
                 environment);
    }
};

QTEST_GUILESS_MAIN(TestVantorelOsascript)
#include "tst_vantorelosascript.moc"
