#include "applescriptexecutor.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace vantorel;

class TestAppleScriptExecutor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // "shell" runs the script text as shell code; "recorder" writes its arguments, NUL-ended, to
    // the file "args"; anything else names a file in the folder, or the real interpreter.
    QString interpreter(const QString &name) const
    {
        return name == "osascript" ? VANTOREL_OSASCRIPT_PATH : m_dir.filePath(name);
    }

private slots:
    void initTestCase()
    {
        const QList<std::pair<QString, QByteArray>> files{
            {"shell", "[ \"$1\" = -e ] || exit 99\neval \"$2\"\n"},
            {"recorder", "printf '%s\\0' \"$@\" > '" + m_dir.filePath("args").toUtf8() + "'\n"},
            {"plain-file", ""}};
        for (const auto &[name, body] : files) {
            QFile file(m_dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + body) > 0);
            file.setPermissions(QFile::ReadOwner |
                                (body.isEmpty() ? QFile::ReadOwner : QFile::ExeOwner));
        }
    }

    // The contract: success, or an error carrying the exit status and the error output as read.
    void outcome_data()
    {
        QTest::addColumn<QString>("interpreter");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("domain");
        QTest::addColumn<int>("code"); // 0: success
        QTest::addColumn<QString>("description");
        const QString app = applicationErrorDomain(),
                      fill = "head -c %1 /dev/zero | tr '\\0' %2 >&2;";
        const auto row = [](const char *tag, const char *interpreter, const QString &script,
                            const QString &domain, int code, const QString &description) {
            QTest::addRow("%s", tag) << interpreter << script << domain << code << description;
        };
        row("success, error text ignored", "shell", "echo out; echo warning >&2", app, 0, "");
        row("10 MiB on both pipes", "shell",
            "head -c 10M /dev/zero & head -c 10M /dev/zero >&2; wait", app, 0, "");
        row("status and text as read", "shell", "printf '  two\\nlines é\\n' >&2; exit 2", app, 2,
            "  two\nlines é\n");
        row("killed by a signal", "shell", "printf partial >&2; kill -TERM $$", app, 128 + 15,
            "partial");
        row("invalid UTF-8", "shell", "printf 'ok\\342\\202' >&2; exit 5", app, 5, "Unknown error");
        // Beyond 1 MiB only the first and last 512 KiB stay, cut between characters.
        row("exactly 1 MiB stays whole", "shell", fill.arg(1048576).arg('a') + "exit 1", app, 1,
            QString("a").repeated(1048576));
        row("first and last halves", "shell",
            "yes € | head -n 400000 | tr -d '\\n' >&2;" + fill.arg(9).arg('b') + "exit 1", app, 1,
            QString("€").repeated(174762) + "\n[151437 bytes of error output left out]\n" +
                QString("€").repeated(174759) + "bbbbbbbbb");
        row("the interpreter's own failure", "osascript",
            "do shell script \"echo oops >&2; exit 3\"", app, 1,
            "0:39: execution error: oops (3)\n");
        row("missing interpreter", "missing", "", posixErrorDomain(), ENOENT,
            Error::posix(ENOENT).localizedDescription());
        row("not executable", "plain-file", "", posixErrorDomain(), EACCES,
            Error::posix(EACCES).localizedDescription());
        // argv cannot carry a NUL: refused rather than run cut short.
        row("NUL in the script", "recorder", QString("rm -rf x") + QChar(0) + "y",
            posixErrorDomain(), EINVAL, Error::posix(EINVAL).localizedDescription());
    }

    void outcome()
    {
        QFETCH(QString, interpreter);
        QFETCH(QString, script);
        QFETCH(int, code);
        QFETCH(QString, description);
        QFile::remove(m_dir.filePath("args"));
        int calls = 0;
        bool succeeded = false;
        std::optional<Error> failure;
        AppleScriptExecutor::executeAppleScript(
            script,
            [&](bool success, const std::optional<Error> &error) {
                ++calls;
                succeeded = success;
                failure = error;
            },
            this->interpreter(interpreter));
        QCOMPARE(calls, 1);
        QCOMPARE(succeeded, code == 0);
        QCOMPARE(failure.has_value(), code != 0);
        if (failure) {
            QTEST(failure->domain(), "domain");
            QCOMPARE(failure->code(), code);
            QVERIFY(failure->localizedDescription() == description);
            QVERIFY_THROWS_EXCEPTION(Error, AppleScriptExecutor::executeAppleScript(
                                                script, this->interpreter(interpreter)));
        }
        QVERIFY(!QFile::exists(m_dir.filePath("args")));
    }

    void scriptReachesTheInterpreterUnaltered()
    {
        const QString script =
            "do shell script \"echo \\\"a  b\\\" 'c' \\\\n\"\r\n\t$HOME `id` é 😀";
        QVERIFY(AppleScriptExecutor::executeAppleScript(script, interpreter("recorder")));
        QFile args(m_dir.filePath("args"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("-e\0", 3) + script.toUtf8() + QByteArray(1, '\0'));
    }
};

QTEST_GUILESS_MAIN(TestAppleScriptExecutor)
#include "tst_applescriptexecutor.moc"
