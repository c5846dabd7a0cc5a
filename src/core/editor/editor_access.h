// The editor's parts to change directly, for tests, benchmarks and fuzzers
// that set up a state no user would take the time to make. The window never
// includes this: it reads the editor and makes its input calls.
#pragma once

#include "editor/editor.h"

namespace pomeli2 {

struct EditorAccess {
  static Document& Doc(Editor& e) { return e.doc_; }
  static MenuModel& Model(Editor& e) { return e.doc_.model; }
  static PageSettings& Settings(Editor& e) { return e.doc_.settings; }
  static FormState& Form(Editor& e) { return e.form_; }
  static Notifier& Notify(Editor& e) { return e.notify_; }
  static Services& GetServices(Editor& e) { return e.services_; }
};

}  // namespace pomeli2
