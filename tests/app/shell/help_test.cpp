// The built-in help: a page for every topic the program names, found from
// the clicked control up through its parents. GoogleTest cases, as the
// window-less parts of the program are tested.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QVBoxLayout>

#include <cstdlib>

#include "app/help/help.h"

using namespace kv::app;

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "app_help_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

TEST(Help, RunsOffscreenWithItsOwnFolders) {
  // The user's settings and runtime folder are out of reach of every GUI test.
  ASSERT_NE(std::getenv("QT_QPA_PLATFORM"), nullptr);
  EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "offscreen");
  ASSERT_NE(std::getenv("XDG_RUNTIME_DIR"), nullptr);
  ASSERT_NE(std::getenv("XDG_CONFIG_HOME"), nullptr);
  EXPECT_NE(std::string(std::getenv("XDG_CONFIG_HOME")).find(".home/config"), std::string::npos);
}

TEST(Help, EveryTopicHasAPageAndEveryLinkLeadsToOne) {
  App();
  CHelp::InitResources();
  for (const char* topic : {"contents", "main_window", "dive_page", "preferences", "plan_settings", "rename", "sort",
                            "details", "viewer", "notes", "language", "about", "liability"}) {
    SCOPED_TRACE(topic);
    ASSERT_TRUE(CHelp::HasTopic(topic));
    QFile page(QStringLiteral(":/help/%1.html").arg(topic));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    // Relative links stay inside the help.
    for (qsizetype at = html.indexOf("href=\""); at >= 0; at = html.indexOf("href=\"", at + 1)) {
      const QString target = html.mid(at + 6, html.indexOf('"', at + 6) - at - 6);
      EXPECT_TRUE(QFile::exists(":/help/" + target)) << target.toStdString();
    }
  }
  EXPECT_FALSE(CHelp::HasTopic("no_such_topic"));
}

TEST(Help, AControlTakesTheTopicOfItsNearestTaggedParent) {
  App();
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* box = new QCheckBox(&dialog);
  layout->addWidget(box);
  EXPECT_EQ(CHelp::TopicOf(box), QStringLiteral("contents"));
  CHelp::SetTopic(&dialog, "preferences");
  EXPECT_EQ(CHelp::TopicOf(box), QStringLiteral("preferences"));
  CHelp::SetTopic(box, "viewer");
  EXPECT_EQ(CHelp::TopicOf(box), QStringLiteral("viewer"));
}

}  // namespace
