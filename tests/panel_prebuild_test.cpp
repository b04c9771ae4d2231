#include "window/panel_prebuild.h"

#include "board/board_tools.h"
#include "generation/face_names.h"
#include "platform/text_conversion.h"
#include "window/session.h"
#include "window/simulation_view.h"

#include "stand_in_builder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

using window::PanelPrebuild;

// The panel as the window shows it: the Session's sketch.
class PanelOfTheSession : public window::SimulationView {
public:
    explicit PanelOfTheSession(const window::Session& session) : m_session(session) {}
    QString panelText() const override { return platform::fromUtf8(*m_session.sketch().text); }
    void showPanelLine(int) override {}
    void showRunLog(const QString&) override {}
    void showCanvas() override {}
    void showError(const QString&) override {}

private:
    const window::Session& m_session;
};

// An edit of the panel stops the background build of the sketch it was
// given: the builder (a stand-in that writes its process id and waits) is
// ended, and nothing is built until the panel is given a sketch again.
TEST(PanelPrebuildTest, AnEditStopsTheBackgroundBuild)
{
    if (const QStringList missing = board::BoardTools::missingForCompile(); !missing.isEmpty()) {
        GTEST_SKIP() << "Arduino tools absent: " << missing.join(QLatin1Char(' ')).toStdString();
    }
    const tests::StandInBuilder standIn("#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 60\n",
                                        tests::StandInBuilder::Cache::OwnFolder);
    ASSERT_TRUE(standIn.ok());

    window::Session session(generation::kMingFace);
    PanelOfTheSession panel(session);
    PanelPrebuild prebuild(session, panel);
    prebuild.setQuietTime(0);
    QSignalSpy built(&prebuild, &PanelPrebuild::built);
    session.showWiringTest();
    EXPECT_EQ(prebuild.state(), PanelPrebuild::State::Quiet);
    const QString pidFile = standIn.program() + ".pid";
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(pidFile).size() > 0; }, 10000));
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const pid_t builder = pid.readAll().trimmed().toInt();
    EXPECT_EQ(prebuild.state(), PanelPrebuild::State::Compiling);

    session.panelChanged(true);
    EXPECT_EQ(prebuild.state(), PanelPrebuild::State::Idle);
    EXPECT_TRUE(QTest::qWaitFor([builder] { return ::kill(builder, 0) != 0; }, 5000)) << "the builder still runs";
    EXPECT_EQ(prebuild.state(), PanelPrebuild::State::Idle);
    EXPECT_TRUE(built.isEmpty());
}

} // namespace
