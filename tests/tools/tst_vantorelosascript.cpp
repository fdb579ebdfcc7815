// The interpreter as the application meets it: a process with a script, an exit status and one
// error line in the real tool's form.

#include <QtTest>
#include <unistd.h>

class TestVantorelOsascript : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        // pkexec: the stand-in's shell code; empty: none on PATH. Elevation is asked for only
        // below root, so as root those rows run as the user nobody.
        QTest::addColumn<QByteArray>("pkexec");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const auto row = [](const char *tag, const QString &script, const QByteArray &out,
                            const QByteArray &err, const QByteArray &pkexec = "exec \"$@\"") {
            QTest::addRow("%s", tag) << pkexec << script << out << err;
        };
        const auto syntax = [&row](const char *tag, const QString &script, const char *line) {
            row(tag, script, "", QByteArray(line) + " (-2741)\n");
        };
        syntax("empty", "",
               "0:0: syntax error: Expected “do shell script” but found end of script.");
        syntax("another command", "display dialog \"x\"",
               "0:7: syntax error: Expected “do shell script” but found identifier.");
        syntax("no literal", "do shell script 42",
               "16:18: syntax error: Expected string but found number.");
        syntax("literal ending in an escaped quote", "do shell script \"abc\\\"",
               "16:22: syntax error: Expected “\"” but found end of script.");
        syntax("unknown escape", "do shell script \"a\\qb\"",
               "18:20: syntax error: Unknown escape sequence “\\q” in string.");
        syntax("ranges count characters", "do shell script \"é😀\" & \"b\"",
               "21:22: syntax error: Expected end of line but found “&”.");
        syntax("privileges clause misspelt", "do shell script \"a\" with admin privileges",
               "25:30: syntax error: Expected “administrator privileges” but found identifier.");

        row("output and every escape", R"(do shell script "printf '%s' 'q\"b\\s\nn\rr\tt'")",
            "q\"b\\s\nn\rr\tt", "");
        row("status and error text, one final newline removed",
            R"(do shell script "printf 'a\n\nb\n\n' >&2; exit 4")", "",
            "0:49: execution error: a\n\nb\n (4)\n");
        row("empty error text", "\n  DO Shell\tscript\"echo partial; exit 7\"  \n", "partial\n",
            "3:40: execution error: The command exited with a non-zero status. (7)\n");
        row("killed by a signal", "do shell script \"kill -KILL $$\"", "",
            "0:31: execution error: The command was terminated by signal 9. (137)\n");

        const QString elevated = "do shell script \"echo granted%1\" with administrator privileges";
        row("elevated", elevated.arg(""), "granted\n", "");
        row("elevated, the command's own 127 is no cancel", elevated.arg(" >&2; exit 127"), "",
            "0:74: execution error: granted (127)\n");
        row("password dialog dismissed", elevated.arg(""), "",
            "0:60: execution error: User canceled. (-128)\n", "exit 126");
        row("not authorised", elevated.arg(""), "",
            "0:60: execution error: User canceled. (-128)\n", "exit 127");
        row("no way to elevate", elevated.arg(""), "",
            "0:60: execution error: Administrator privileges are not available: pkexec was not "
            "found. (-10004)\n",
            "");
    }

    void run()
    {
        QFETCH(QByteArray, pkexec);
        QFETCH(QString, script);
        QFETCH(QByteArray, err);
        // Everything the user nobody runs must be reachable by that user.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther);
        const QString interpreter = dir.filePath("vantorel-osascript");
        QVERIFY(QFile::copy(VANTOREL_OSASCRIPT_PATH, interpreter));
        QFile stub(dir.filePath("pkexec"));
        QVERIFY(pkexec.isEmpty() ||
                (stub.open(QIODevice::WriteOnly) && stub.write("#!/bin/sh\n" + pkexec + '\n') &&
                 stub.setPermissions(stub.permissions() | QFile::ExeOwner | QFile::ReadOther |
                                     QFile::ExeOther)));
        stub.close();
        QProcess process;
        QProcessEnvironment environment;
        environment.insert("PATH", dir.path());
        process.setProcessEnvironment(environment);
        QStringList arguments{"-e", script};
        if (script.contains("privileges") && geteuid() == 0)
            arguments =
                QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", interpreter} +
                arguments;
        process.start(arguments.size() > 2 ? "/usr/bin/setpriv" : interpreter, arguments);
        QVERIFY(process.waitForFinished(60000));
        QTEST(process.readAllStandardOutput(), "out");
        QCOMPARE(process.readAllStandardError(), err);
        QCOMPARE(process.exitCode(), err.isEmpty() ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestVantorelOsascript)
#include "tst_vantorelosascript.moc"
