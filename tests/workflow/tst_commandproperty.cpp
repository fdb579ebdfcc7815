// Property: whatever a name or path holds, the command built from it runs exactly the intended
// program with exactly the intended arguments, through the real interpreter and /bin/sh.

#include "applescriptexecutor.h"
#include "commandtexts.h"
#include "diskimagestages.h"
#include "doublessandbox.h"

#include <QRandomGenerator>
#include <QTest>

using namespace vantorel;
using namespace vantorel::commandtexts;

namespace {

class RandomText
{
public:
    explicit RandomText(quint32 seed)
        : m_random(seed)
    {
        // Pieces that break naive quoting in one layer or the other.
        for (QChar c : QStringLiteral("'\"\\$`\r\t &|<>*?~!#%{}()é\u202e"))
            m_specials << c;
        m_specials << QStringLiteral("\n") << "'\\''"
                   << "\\\""
                   << "\\n"
                   << "$(touch pwned)"
                   << "`touch pwned`"
                   << "; touch pwned;"
                   << "\"'"
                   << "🍎"
                   << "with administrator privileges";
    }

    // Random bytes without NUL and "/", as the file system would hand them over (bytes that are
    // not UTF-8 become U+FFFD, as they do for every path the application sees).
    QString bytes()
    {
        QByteArray data;
        for (const int length = m_random.bounded(1, 40); data.size() < length;) {
            const char byte = char(m_random.bounded(1, 256));
            if (byte != '/')
                data += byte;
        }
        return QString::fromUtf8(data);
    }

    // Code points: half specials, half any Unicode scalar value but NUL, "/" and surrogates.
    QString characters()
    {
        QString text;
        for (int i = m_random.bounded(1, 12); i > 0; --i) {
            if (m_random.bounded(2) == 0) {
                text += m_specials[m_random.bounded(int(m_specials.size()))];
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

    QString path()
    {
        QString path;
        for (int i = m_random.bounded(1, 4); i > 0; --i)
            path += '/' + component();
        return path;
    }

    int bounded(int limit) { return m_random.bounded(limit); }

private:
    QRandomGenerator m_random;
    QStringList m_specials;
};

} // namespace

class CommandPropertyTest : public QObject
{
    Q_OBJECT

private slots:
    void anyValueRunsOnlyTheIntendedCommand();
};

void CommandPropertyTest::anyValueRunsOnlyTheIntendedCommand()
{
    const int cases = qEnvironmentVariableIntValue("VANTOREL_PROPERTY_CASES") > 0
                          ? qEnvironmentVariableIntValue("VANTOREL_PROPERTY_CASES")
                          : 2000;
    const quint32 seed = qEnvironmentVariableIsSet("VANTOREL_PROPERTY_SEED")
                             ? quint32(qEnvironmentVariableIntValue("VANTOREL_PROPERTY_SEED"))
                             : 20240601u;
    // The hdiutil double only records its argv here; it also stands in for rm and for each
    // installer's createinstallmedia.
    DoublesSandbox sandbox(VANTOREL_TEST_DOUBLES_DIR);
    QVERIFY(sandbox.isValid() && sandbox.installDouble("hdiutil", sandbox.bin + "/rm"));
    sandbox.setVariable("VANTOREL_TEST_RECORD_ONLY", "1");
    const QString hdiutil = sandbox.bin + "/hdiutil";

    RandomText random(seed);
    QList<QStringList> expected;
    QStringList scripts;
    for (int i = 0; i < cases; ++i) {
        const QString name = random.component(), image = random.path(), other = random.path();
        QString script;
        QStringList argv;
        switch (i % 7) {
        case 0: {
            const qint64 size = qint64(random.bounded(1 << 30)) * 100;
            script = createCommand(size, name, image);
            argv =
                QStringList{hdiutil, "create", "-size",    QString::number(sizeFigure(size)) + 'm',
                            "-fs",   "HFS+J",  "-volname", name,
                            image};
        } break;
        case 1:
            script = attachCommand(image);
            argv = QStringList{hdiutil, "attach", image};
            break;
        case 2:
        case 3: {
            // The tool must exist to run: each case gets its own installer folder.
            const QString installer = sandbox.apps + '/' + QString::number(i) + random.component();
            const QString tool = toolPathFor(installer);
            QVERIFY(QDir().mkpath(QFileInfo(tool).path()));
            QVERIFY(sandbox.installDouble("hdiutil", tool));
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
            argv = QStringList{hdiutil, "eject", image, "-force"};
            break;
        case 5:
            script = convertCommand(image, other);
            argv = QStringList{hdiutil, "convert", image, "-format", "UDTO", "-o", other};
            break;
        case 6:
            script = deleteCommand(image);
            argv = QStringList{sandbox.bin + "/rm", image};
            break;
        }
        scripts << script;
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

    const QList<QStringList> records = DoublesSandbox::readRecords(sandbox.hdiutilLog);
    for (int i = 0; i < cases; ++i) {
        QVERIFY2(i < records.size(), qPrintable(QString("case %1 ran nothing").arg(i)));
        QVERIFY2(records[i] == expected[i],
                 qPrintable(QString("case %1 (seed %2)\nscript: %3\ngot: %4")
                                .arg(i)
                                .arg(seed)
                                .arg(scripts[i], records[i].join(" | "))));
    }
    QCOMPARE(records.size(), cases); // nothing ran beyond the intended commands
    QCOMPARE(QDir(sandbox.work).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(CommandPropertyTest)
#include "tst_commandproperty.moc"
