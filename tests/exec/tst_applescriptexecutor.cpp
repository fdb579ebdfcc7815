#include "applescriptexecutor.h"
#include "testfiles.h"

#include <QtTest>
#include <cerrno>

using namespace vantorel;

class TestAppleScriptExecutor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Stand-in interpreters: "shell" runs the script as shell code, "echo" writes it to its error
    // output and fails, "plain-file" cannot be run.
    void initTestCase()
    {
        for (const auto &[name, body] :
             std::initializer_list<std::pair<const char *, const char *>>{
                 {"shell", "eval \"$2\""},
                 {"echo", "printf '%s' \"$2\" >&2; exit 1"},
                 {"plain-file", ""}}) {
            QVERIFY(writeTestFile(m_dir.filePath(name),
                                  QByteArray("#!/bin/sh\n[ \"$1\" = -e ] || exit 99\n") + body,
                                  *body != '\0'));
        }
    }

    // The contract: one call back with success, or an error carrying the exit status and the
    // error output as read, or the platform's error when the interpreter cannot start.
    void outcome_data()
    {
        QTest::addColumn<QString>("interpreter");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("code"); // 0: success; negative: the errno of a failed start
        QTest::addColumn<QString>("description");
        const QString fill = "head -c %1 /dev/zero | tr '\\0' %2 >&2;";
        const QString tricky = "do shell script \"echo \\\"a  b\\\" 'c' \\\\n\"\r\n\t$HOME `id` é";
        const auto row = [](const char *tag, const char *interpreter, const QString &script,
                            int code, const QString &description) {
            QTest::addRow("%s", tag) << interpreter << script << code << description;
        };
        row("success, error text ignored", "shell", "echo out; echo warning >&2", 0, "");
        row("10 MiB on both pipes", "shell",
            "head -c 10M /dev/zero & head -c 10M /dev/zero >&2; wait", 0, "");
        row("status and text as read", "shell", "printf '  two\\nlines é\\n' >&2; exit 2", 2,
            "  two\nlines é\n");
        row("killed by a signal", "shell", "printf partial >&2; kill -TERM $$", 128 + 15,
            "partial");
        row("invalid UTF-8", "shell", "printf 'ok\\342\\202' >&2; exit 5", 5, "Unknown error");
        // Beyond 1 MiB only the first and last 512 KiB stay, cut between characters.
        row("exactly 1 MiB stays whole", "shell", fill.arg(1048576).arg('a') + "exit 1", 1,
            QString("a").repeated(1048576));
        row("one byte over", "shell", fill.arg(1048577).arg('a') + "exit 1", 1,
            QString("a").repeated(524288) + "\n[1 byte of error output left out]\n" +
                QString("a").repeated(524288));
        row("first and last halves", "shell",
            "yes € | head -n 400000 | tr -d '\\n' >&2;" + fill.arg(9).arg('b') + "exit 1", 1,
            QString("€").repeated(174762) + "\n[151437 bytes of error output left out]\n" +
                QString("€").repeated(174759) + "bbbbbbbbb");
        row("the script reaches the interpreter unaltered", "echo", tricky, 1, tricky);
        row("the real interpreter's failure", VANTOREL_OSASCRIPT_PATH,
            "do shell script \"echo oops >&2; exit 3\"", 1, "0:39: execution error: oops (3)\n");
        row("missing interpreter", "missing", "", -ENOENT, "");
        row("not executable", "plain-file", "", -EACCES, "");
        // argv cannot carry a NUL: refused rather than run cut short.
        row("NUL in the script", "echo", QString("rm -rf x") + QChar(0) + "y", -EINVAL, "");
    }

    void outcome()
    {
        QFETCH(QString, interpreter);
        QFETCH(QString, script);
        QFETCH(int, code);
        QFETCH(QString, description);
        const Error expected =
            code < 0 ? Error::posix(-code) : Error::application(code, description);
        const QString path =
            interpreter.startsWith('/') ? interpreter : m_dir.filePath(interpreter);
        int calls = 0;
        std::optional<Error> failure;
        AppleScriptExecutor::executeAppleScript(
            script,
            [&](bool success, const std::optional<Error> &error) {
                calls += success == !error ? 1 : 100;
                failure = error;
            },
            path);
        QCOMPARE(calls, 1);
        QCOMPARE(failure.has_value(), code != 0);
        if (failure) {
            QCOMPARE(failure->domain(), expected.domain());
            QCOMPARE(failure->code(), expected.code());
            QVERIFY(failure->localizedDescription() == expected.localizedDescription());
            QVERIFY_THROWS_EXCEPTION(Error, AppleScriptExecutor::executeAppleScript(script, path));
        }
    }
};

QTEST_GUILESS_MAIN(TestAppleScriptExecutor)
#include "tst_applescriptexecutor.moc"
