#pragma once
// The program's HTML help, compiled into the program: a contents page and one
// topic per window and dialog. "Help Contents" opens the contents; "What's
// This?" waits for a click on a control and opens the topic of that control
// (its "helpTopic" property, or the nearest parent's).

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;
class QDialog;

namespace kv::app {

class CHelp final : public QObject {
  Q_OBJECT
public:
  static CHelp& Instance();
  // Makes the compiled-in pages available (once per process).
  static void InitResources();

  static constexpr const char* kContents = "contents";

  // Tags a control (and everything inside it) with its help topic.
  static void SetTopic(QWidget* widget, const QString& topic);
  // The topic of a control: its own, the nearest parent's, or the contents.
  static QString TopicOf(const QWidget* widget);
  // The resource address of a topic ("qrc:/help/preferences.html").
  static QString PageOf(const QString& topic);
  static bool HasTopic(const QString& topic);

  void ShowContents(QWidget* parent);
  void ShowTopic(const QString& topic, QWidget* parent);
  // The topic the viewer shows now, empty when it is not open.
  QString ShownTopic() const { return m_shownTopic; }

  // Context help: the next click on a control opens its topic; Escape leaves.
  void EnterWhatsThisMode();
  bool InWhatsThisMode() const { return m_whatsThis; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void LeaveWhatsThisMode();

  QPointer<QDialog> m_viewer;
  QTextBrowser* m_browser = nullptr;
  QString m_shownTopic;
  bool m_whatsThis = false;
  bool m_swallowRelease = false;
};

}  // namespace kv::app
