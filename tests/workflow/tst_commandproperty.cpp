// Property: whatever a name or path holds, the command built from it runs exactly the intended
// program with exactly the intended arguments, through the real interpreter and /bin/sh.

#include "applescriptexecutor.h"
#include "commandtexts.h"
#include "diskimagestages.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace vantorel;
using namespace vantorel::commandtexts;

namespace {

// Pieces that break naive quoting in one layer or the other.
const QStringList specials{"'",
                           "\"",
                           "\\",
                           "$",
                           "`",
                           "\n",
                           "\r",
                           "\t",
                           " ",
                           "'\\''",
                           "\\\"",
                           "\\n",
                           "$(touch pwned)",
                           "`touch pwned`",
                           "; touch pwned;",
                           "&",
                           "|",
                           "<",
                           ">",
                           "*",
                           "?",
                           "~",
                           "!",
                           "#",
                           "%",
                           "{",
                           "}",
                           "(",
                           ")",
                           "\"'",
                           "with administrator privileges",
                           "é",
                           "🍎",
                           "\u202e"};

class RandomText {
public:
    explicit RandomText(quint32 seed)
        : m_random(seed) {}

    // Random bytes without NUL and "/", as the file system would hand them over (bytes that are
    // not UTF-8 become U+FFFD, as they do for every path the application sees).
    QString bytes() {
        QByteArray data;
        const int length = m_random.bounded(1, 40);
        while (data.size() < length) {
            const char byte = char(m_random.bounded(1, 256));
            if (byte != '/')
                data += byte;
        }
        return QString::fromUtf8(data);
    }

    // Code points: half specials, half any Unicode scalar value but NUL, "/" and surrogates.
    QString characters() {
        QString text;
        const int pieces = m_random.bounded(1, 12);
        for (int i = 0; i < pieces; ++i) {
            if (m_random.bounded(2) == 0) {
                text += specials[m_random.bounded(int(specials.size()))];
                continue;
            }
            const quint32 limits[] = {0x80, 0x800, 0x10000, 0x110000};
            char32_t c = char32_t(m_random.bounded(1u, limits[m_random.bounded(4)]));
            if (c == u'/' || (c >= 0xD800 && c <= 0xDFFF))
                c = u'x';
            text += QString::fromUcs4(&c, 1);
        }
        return text;
    }

    QString component() { return m_random.bounded(2) == 0 ? bytes() : characters(); }

    QString path() {
        QString path;
        const int components = m_random.bounded(1, 4);
        for (int i = 0; i < components; ++i)
            path += '/' + component();
        return path;
    }

    int bounded(int limit) { return m_random.bounded(limit); }

private:
    QRandomGenerator m_random;
};

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool copyExecutable(const QString &from, const QString &to) {
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    target.write(readFile(from));
    return target.setPermissions(target.permissions() | QFile::ExeOwner);
}

} // namespace

class CommandPropertyTest : public QObject {
    Q_OBJECT

private slots:
    void anyValueRunsOnlyTheIntendedCommand();
};

void CommandPropertyTest::anyValueRunsOnlyTheIntendedCommand() {
    const int cases = qEnvironmentVariableIntValue("VANTOREL_PROPERTY_CASES") > 0
                          ? qEnvironmentVariableIntValue("VANTOREL_PROPERTY_CASES")
                          : 2000;
    const quint32 seed = qEnvironmentVariableIsSet("VANTOREL_PROPERTY_SEED")
                             ? quint32(qEnvironmentVariableIntValue("VANTOREL_PROPERTY_SEED"))
                             : 20240601u;

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath("bin"), apps = root.filePath("apps"),
                  work = root.filePath("work"), log = root.filePath("argv.log");
    for (const QString &folder : {bin, apps, work})
        QVERIFY(QDir().mkpath(folder));
    // The double records its argv and does nothing else; it also stands in for rm and for
    // each installer's createinstallmedia.
    const QString recorder = VANTOREL_TEST_DOUBLES_DIR "/hdiutil";
    QVERIFY(copyExecutable(recorder, bin + "/hdiutil"));
    QVERIFY(copyExecutable(recorder, bin + "/rm"));
    if (::geteuid() != 0)
        QVERIFY(copyExecutable(VANTOREL_TEST_DOUBLES_DIR "/pkexec", bin + "/pkexec"));

    const QByteArray originalPath = qgetenv("PATH");
    const QString originalCurrent = QDir::currentPath();
    qputenv("PATH", QFile::encodeName(bin) + ':' + originalPath);
    qputenv("VANTOREL_TEST_HDIUTIL_LOG", QFile::encodeName(log));
    qputenv("VANTOREL_TEST_RECORD_ONLY", "1");
    QDir::setCurrent(work);
    const auto restore = qScopeGuard([&] {
        QDir::setCurrent(originalCurrent);
        qputenv("PATH", originalPath);
        qunsetenv("VANTOREL_TEST_RECORD_ONLY");
    });

    RandomText random(seed);
    QList<QStringList> expected;
    QStringList inputs;
    for (int i = 0; i < cases; ++i) {
        const QString name = random.component(), image = random.path(), other = random.path();
        QString script;
        QStringList argv;
        switch (i % 7) {
        case 0: {
            const qint64 size = qint64(random.bounded(1 << 30)) * 100;
            script = createCommand(size, name, image);
            argv = QStringList{bin + "/hdiutil",
                               "create",
                               "-size",
                               QString::number(sizeFigure(size)) + 'm',
                               "-fs",
                               "HFS+J",
                               "-volname",
                               name,
                               image};
        } break;
        case 1:
            script = attachCommand(image);
            argv = QStringList{bin + "/hdiutil", "attach", image};
            break;
        case 2:
        case 3: {
            // The tool must exist to run: each case gets its own installer folder.
            QString folder = random.component();
            if (folder == "." || folder == "..")
                folder += 'x';
            const QString installer = apps + '/' + QString::number(i) + folder;
            const QString tool = toolPathFor(installer);
            QVERIFY(QDir().mkpath(QFileInfo(tool).path()));
            QVERIFY(copyExecutable(recorder, tool));
            const qint64 version = i % 7 == 2 ? 14 : 12;
            script = installMediaCommand(tool, installer, image, version);
            argv = QStringList{tool};
            if (version < 13)
                argv << "--applicationpath" << installer;
            argv << "--volume" << image << "--nointeraction";
            break;
        }
        case 4:
            script = ejectCommand(image);
            argv = QStringList{bin + "/hdiutil", "eject", image, "-force"};
            break;
        case 5:
            script = convertCommand(image, other);
            argv = QStringList{bin + "/hdiutil", "convert", image, "-format", "UDTO", "-o", other};
            break;
        case 6:
            script = deleteCommand(image);
            argv = QStringList{bin + "/rm", image};
            break;
        }
        inputs << script;
        expected << argv;
        try {
            AppleScriptExecutor::executeAppleScript(script, VANTOREL_OSASCRIPT_PATH);
        } catch (const Error &error) {
            QFAIL(qPrintable(QString("case %1 (seed %2) failed: %3\nscript: %4")
                                 .arg(i)
                                 .arg(seed)
                                 .arg(error.localizedDescription(), script)));
        }
    }

    const QList<QByteArray> fields = readFile(log).split('\0');
    qsizetype at = 0;
    for (int i = 0; i < cases; ++i) {
        QVERIFY2(at + 1 < fields.size(), qPrintable(QString("case %1 ran nothing").arg(i)));
        const int count = fields[at].toInt();
        QStringList argv;
        for (int k = 1; k <= count + 1 && at + k < fields.size(); ++k)
            argv << QString::fromUtf8(fields[at + k]);
        at += count + 2;
        QVERIFY2(argv == expected[i], qPrintable(QString("case %1 (seed %2)\nscript: %3\ngot: %4")
                                                     .arg(i)
                                                     .arg(seed)
                                                     .arg(inputs[i], argv.join(" | "))));
    }
    QCOMPARE(at + 1, fields.size()); // nothing ran beyond the intended commands
    QCOMPARE(QDir(work).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(CommandPropertyTest)
#include "tst_commandproperty.moc"
