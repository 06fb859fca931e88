// The bus interface as clients see it, on the real program: introspection lists one signature per method
// and the Broadcast signal, exactly as the description shipped next to the program, and every gdbus and
// dbus-send call the README shows works as written (taking the lighting over and giving it back, game
// events, the device list, the raise, a data record).
#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QXmlStreamReader>
#include <filesystem>

#include "tests/app/app_test_environment.h"
#include "tests/support/temp_folder.h"

namespace norvane::app::test {
namespace {

const QString kProgram = QStringLiteral(NORVANE_BINARY_DIR "/bin/norvane");
const QString kShippedInterface = QStringLiteral(NORVANE_BINARY_DIR "/bin/org.norvane.Messages.xml");
const QString kShown = QStringLiteral("main window: shown;");

// The members of one interface of an introspection document, one line each: "method Post(s name,x
// wParam,x lParam)", "signal Broadcast(s name,...)". Comments, the DOCTYPE and other interfaces are left out.
std::string Members(const QByteArray& xml, const QString& interfaceName) {
  QXmlStreamReader reader(xml);
  QStringList members;
  bool inside = false;
  QString member;
  QStringList args;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement()) {
      const QString element = reader.name().toString();
      const QXmlStreamAttributes attributes = reader.attributes();
      if (element == u"interface") inside = attributes.value(QStringLiteral("name")) == interfaceName;
      if (!inside) continue;
      if (element == u"method" || element == u"signal" || element == u"property") {
        member = element + u' ' + attributes.value(QStringLiteral("name")).toString();
        args.clear();
      } else if (element == u"arg") {
        QString arg = attributes.value(QStringLiteral("type")).toString() + u' ' + attributes.value(QStringLiteral("name")).toString();
        if (attributes.hasAttribute(QStringLiteral("direction"))) arg += u' ' + attributes.value(QStringLiteral("direction")).toString();
        args << arg;
      }
    } else if (reader.isEndElement() && inside) {
      const QString element = reader.name().toString();
      if (element == u"method" || element == u"signal" || element == u"property")
        members << member + u'(' + args.join(u',') + u')';
      if (element == u"interface") inside = false;
    }
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  members.sort();
  return members.join(QStringLiteral("; ")).toStdString();
}

// The commands of the README's bus examples, continuation lines joined.
QStringList ReadmeCommands(const QString& client) {
  QFile file(QStringLiteral(NORVANE_SOURCE_DIR "/README.md"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QStringList commands;
  QString pending;
  for (const QString& raw : QString::fromUtf8(file.readAll()).split(u'\n')) {
    QString line = raw.trimmed();
    if (pending.isEmpty() && !line.startsWith(client + u' ')) continue;
    const bool continued = line.endsWith(u'\\');
    if (continued) line.chop(1);
    pending += line.trimmed() + u' ';
    if (!continued) {
      commands << pending.trimmed();
      pending.clear();
    }
  }
  return commands;
}

class BusInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (TestBusAddress().isEmpty()) GTEST_SKIP() << "no D-Bus bus available";
    if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program was not built";
    program_.setProcessEnvironment(Environment());
    program_.start(kProgram, {QStringLiteral("--trace"), QStringLiteral("--emulate"),
                              QStringLiteral("keyboard,mouse,mousepad")});
    ASSERT_TRUE(program_.waitForStarted(5000));
    ASSERT_TRUE(WaitForTrace(kShown)) << trace_.toStdString();
  }
  void TearDown() override {
    if (program_.state() == QProcess::NotRunning) return;
    ::kill(static_cast<pid_t>(program_.processId()), SIGTERM);
    if (!program_.waitForFinished(5000)) program_.kill();
  }

  QProcessEnvironment Environment() const { return ProgramEnvironment(home_); }
  // Runs a command line as a user's shell would; its exit code and what it printed.
  int Shell(const QString& command, QByteArray* output = nullptr) {
    QProcess shell;
    shell.setProcessEnvironment(Environment());
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!shell.waitForFinished(10000)) {
      shell.kill();
      return -1;
    }
    if (output) *output = shell.readAllStandardOutput();
    if (shell.exitCode() != 0) ADD_FAILURE() << command.toStdString() << ": " << shell.readAllStandardError().toStdString();
    return shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
  }
  bool WaitForTrace(const QString& text, int count = 1) {
    return QTest::qWaitFor(
        [&] {
          trace_ += QString::fromUtf8(program_.readAllStandardError());
          return trace_.count(text) >= count;
        },
        15000);
  }

  norvane::testing::TempFolder folder_;
  std::filesystem::path home_ = folder_.path();
  QProcess program_;
  QString trace_;
};

TEST_F(BusInterfaceTest, IntrospectionIsTheShippedDescriptionWithOneSignaturePerMember) {
  QFile shipped(kShippedInterface);
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << "the description is staged next to the program";
  const std::string expected = Members(shipped.readAll(), QStringLiteral("org.norvane.Messages"));
  EXPECT_EQ(expected,
            "method CopyData(x kind in,ay data in); method Post(s name in,x wParam in,x lParam in); "
            "signal Broadcast(s name out,x wParam out,x lParam out)");

  QByteArray introspection;
  ASSERT_EQ(Shell(QStringLiteral("gdbus introspect --session --dest org.norvane.Norvane "
                                 "--object-path /org/norvane/Norvane --xml"),
                  &introspection),
            0);
  EXPECT_EQ(Members(introspection, QStringLiteral("org.norvane.Messages")), expected)
      << introspection.toStdString();
}

TEST_F(BusInterfaceTest, EveryCallOfTheReadmeWorksAsWritten) {
  const QStringList gdbus = ReadmeCommands(QStringLiteral("gdbus"));
  const QStringList dbusSend = ReadmeCommands(QStringLiteral("dbus-send"));
  ASSERT_GE(gdbus.size(), 5);
  ASSERT_GE(dbusSend.size(), 2);
  for (const QString& command : gdbus + dbusSend) EXPECT_EQ(Shell(command), 0) << command.toStdString();

  // What they did, in the program's own words: the lighting went to another program and came back, and
  // both game events showed their effect.
  EXPECT_TRUE(WaitForTrace(QStringLiteral("light control: the device lighting is left to another program")))
      << trace_.toStdString();
  EXPECT_TRUE(WaitForTrace(QStringLiteral("light control: this program drives the device lighting")));
  EXPECT_LT(trace_.indexOf(QStringLiteral("left to another program")), trace_.indexOf(QStringLiteral("this program drives")));
  EXPECT_TRUE(WaitForTrace(QStringLiteral("game lighting: effect 5 for 5 s"), 2)) << trace_.toStdString();
}

}  // namespace
}  // namespace norvane::app::test
