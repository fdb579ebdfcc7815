#include "applescriptexecutor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <thread>

using namespace vantorel;

namespace {

struct Outcome
{
    int calls = 0;
    bool success = false;
    std::optional<Error> error;
};

Outcome run(const QString &script, const QString &interpreter)
{
    Outcome outcome;
    AppleScriptExecutor::executeAppleScript(
        script,
        [&outcome](bool success, const std::optional<Error> &error) {
            ++outcome.calls;
            outcome.success = success;
            outcome.error = error;
        },
        interpreter);
    return outcome;
}

QString times(const char *text, int count)
{
    return QString::fromUtf8(text).repeated(count);
}

QString omitted(qint64 bytes)
{
    return QString("\n[%1 bytes of error output left out]\n").arg(bytes);
}

} // namespace

class TestAppleScriptExecutor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Stand-in interpreters: "shell" runs the script text as shell code, "recorder" writes its
    // arguments NUL-separated to the file "args".
    QString interpreter(const QString &name) const
    {
        return name == "osascript" ? VANTOREL_OSASCRIPT_PATH : m_dir.filePath(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QByteArray bodies[][2] = {
            {"shell", "[ \"$1\" = -e ] || exit 99\neval \"$2\"\n"},
            {"recorder", "printf '%s\\0' \"$@\" > '" + m_dir.filePath("args").toUtf8() + "'\n"}};
        for (const auto &body : bodies) {
            QFile file(m_dir.filePath(body[0]));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n" + body[1]);
            file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        QFile(m_dir.filePath("plain-file")).open(QIODevice::WriteOnly);
        QDir(m_dir.path()).mkdir("folder");
    }

    void outcome_data()
    {
        QTest::addColumn<QString>("interpreter");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("code"); // 0: success
        QTest::addColumn<QString>("description");

        auto row = [](const char *name, const QString &script, int code, const QString &text) {
            QTest::addRow("%s", name) << "shell" << script << code << text;
        };
        row("success with printed text", "echo printed; echo more", 0, "");
        row("success with error text", "echo warning >&2", 0, "");
        row("10 MiB on both pipes", "head -c 10M /dev/zero & head -c 10M /dev/zero >&2; wait", 0,
            "");
        row("status 1 with x", "printf x >&2; exit 1", 1, "x");
        row("text as read, not trimmed", "printf '  two\\nlines \\n\\n' >&2; exit 2", 2,
            "  two\nlines \n\n");
        row("unicode", "printf 'é € 😀' >&2; exit 3", 3, "é € 😀");
        row("empty error output", "exit 4", 4, "");
        row("killed by a signal", "printf partial >&2; kill -TERM $$", 128 + 15, "partial");
        for (const char *bytes : {"a\\200b", "\\377", "\\300\\200", "\\355\\240\\200",
                                  "\\364\\220\\200\\200", "ok\\342\\202"}) {
            QTest::addRow("invalid UTF-8 %s", bytes)
                << "shell" << QString("printf '%1' >&2; exit 5").arg(bytes) << 5 << "Unknown error";
        }

        // Error output beyond 1 MiB keeps its first and last 512 KiB.
        const QString fill = "head -c %1 /dev/zero | tr '\\0' %2 >&2; ";
        row("exactly 1 MiB stays whole", fill.arg(1048576).arg('a') + "exit 1", 1,
            times("a", 1048576));
        row("one byte over", fill.arg(1048577).arg('a') + "exit 1", 1,
            times("a", 524288) + "\n[1 byte of error output left out]\n" + times("a", 524288));
        row("first and last halves",
            fill.arg(600000).arg('a') + fill.arg(2000000).arg('b') + fill.arg(600000).arg('c') +
                "exit 1",
            1, times("a", 524288) + omitted(2151424) + times("c", 524288));
        // 3-byte characters: both cuts fall inside one and must move to a boundary.
        row("cuts between characters", "yes € | head -n 400000 | tr -d '\\n' >&2; exit 1", 1,
            times("€", 174762) + omitted(151428) + times("€", 174762));

        QTest::addRow("vantorel-osascript success") << "osascript"
                                                    << "do shell script \"echo done\"" << 0 << "";
        QTest::addRow("vantorel-osascript failure") << "osascript"
                                                    << "do shell script \"echo oops >&2; exit 3\""
                                                    << 1 << "0:39: execution error: oops (3)\n";
    }

    void outcome()
    {
        QFETCH(QString, interpreter);
        QFETCH(QString, script);
        QFETCH(int, code);
        QFETCH(QString, description);
        const Outcome outcome = run(script, this->interpreter(interpreter));
        QCOMPARE(outcome.calls, 1);
        QCOMPARE(outcome.success, code == 0);
        QCOMPARE(outcome.error.has_value(), code != 0);
        try {
            QVERIFY(
                AppleScriptExecutor::executeAppleScript(script, this->interpreter(interpreter)));
            QCOMPARE(code, 0);
        } catch (const Error &error) {
            QCOMPARE(error.domain(), applicationErrorDomain());
            QCOMPARE(error.code(), code);
            QCOMPARE(error.localizedDescription().size(), description.size());
            QVERIFY(error.localizedDescription() == description);
        }
    }

    void scriptReachesInterpreterUnaltered_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addRow("quotes and spaces") << "do shell script \"echo \\\"a  b\\\" 'c' \"";
        QTest::addRow("backslashes") << "do shell script \"printf '\\\\\\\\' \\\\n\"";
        QTest::addRow("newlines and tabs") << "line one\nline two\r\n\tindented\n";
        QTest::addRow("unicode") << "do shell script \"echo é 😀\u00a0ß\"";
        QTest::addRow("shell syntax") << "$HOME `id` $(id) *; | & > <";
        QTest::addRow("looks like an option") << "--version";
        QTest::addRow("empty") << "";
    }

    void scriptReachesInterpreterUnaltered()
    {
        QFETCH(QString, script);
        QFile::remove(m_dir.filePath("args"));
        QVERIFY(AppleScriptExecutor::executeAppleScript(script, interpreter("recorder")));
        QFile args(m_dir.filePath("args"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), QByteArray("-e\0", 3) + script.toUtf8() + QByteArray(1, '\0'));
    }

    void launchFailure_data()
    {
        QTest::addColumn<QString>("interpreter");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("errnum");
        QTest::addRow("missing interpreter") << QString("missing") << QString() << ENOENT;
        QTest::addRow("not executable") << QString("plain-file") << QString() << EACCES;
        QTest::addRow("directory") << QString("folder") << QString() << EACCES;
        // argv cannot carry a NUL: refuse rather than run a truncated command.
        QTest::addRow("NUL in the script")
            << QString("recorder") << QString("rm -rf x") + QChar(0) + "y" << EINVAL;
    }

    void launchFailure()
    {
        QFETCH(QString, interpreter);
        QFETCH(QString, script);
        QFETCH(int, errnum);
        QFile::remove(m_dir.filePath("args"));
        const Error expected = Error::posix(errnum);
        const Outcome outcome = run(script, this->interpreter(interpreter));
        QCOMPARE(outcome.calls, 1);
        QVERIFY(!outcome.success && outcome.error);
        QCOMPARE(outcome.error->domain(), expected.domain());
        QCOMPARE(outcome.error->code(), errnum);
        QCOMPARE(outcome.error->localizedDescription(), expected.localizedDescription());
        QVERIFY(!QFile::exists(m_dir.filePath("args")));
        QVERIFY_THROWS_EXCEPTION(
            Error, AppleScriptExecutor::executeAppleScript(script, this->interpreter(interpreter)));
    }

    // Each run waits for the other to start, so they can only finish by running side by side.
    void concurrentRunsStayIndependent()
    {
        const QString wait = "touch '%1'; i=0; while [ ! -e '%2' ] && [ $i -lt 2000 ]; do "
                             "sleep 0.01; i=$((i+1)); done; printf %3 >&2; exit %4";
        const QString a = m_dir.filePath("started-a"), b = m_dir.filePath("started-b");
        Outcome first, second;
        std::thread thread([&] { first = run(wait.arg(a, b, "A", "3"), interpreter("shell")); });
        second = run(wait.arg(b, a, "B", "4"), interpreter("shell"));
        thread.join();
        QVERIFY(first.error && second.error);
        QCOMPARE(first.error->code(), 3);
        QCOMPARE(first.error->localizedDescription(), "A");
        QCOMPARE(second.error->code(), 4);
        QCOMPARE(second.error->localizedDescription(), "B");
    }

    void noDescriptorLeaks()
    {
        QDir fds("/proc/self/fd");
        if (!fds.exists())
            QSKIP("needs /proc/self/fd");
        const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
        const qsizetype before = fds.entryList(all).size();
        run("echo out; echo err >&2; exit 1", interpreter("shell"));
        run("", interpreter("missing"));
        QCOMPARE(fds.entryList(all).size(), before);
    }
};

QTEST_GUILESS_MAIN(TestAppleScriptExecutor)
#include "tst_applescriptexecutor.moc"
