#pragma once
// The document control of the licence and readme pages: the system's web browser where an HTML
// engine renders the document, otherwise a read-only rich edit box with the document's text, so
// that the user can always read what they are asked to accept.

#include <windows.h>

#include <string>
#include <string_view>

#include "engine/session/SetupSession.h"
#include "platform/win32/Win32Toolkit.h"
#include "project/Task.h"
#include "wizard/Explorer.h"

namespace tarn::wizard {

// The control that takes the place of a page's placeholder: the browser, or the text box.
class CDocumentView {
 public:
  explicit CDocumentView(engine::SetupSession& session) : session_(session) {}
  ~CDocumentView();
  CDocumentView(const CDocumentView&) = delete;
  CDocumentView& operator=(const CDocumentView&) = delete;

  // Takes the rectangle and ID of the placeholder control `id` of `page`, which it replaces;
  // the text box gets `font`.
  void Create(HWND page, int id, HFONT font);

  // Shows the document a page's task names: for each subtask of `type`, in order, a FileType
  // field appends `mhtName` (value "M" in any case) or `htmName` to "[TempFileDir]", and a File
  // field that is not empty opens the run-stamped name of that path.
  void OpenTaskDocument(const project::Task* task, project::SubTaskType type,
                        std::string_view mhtName, std::string_view htmName);
  // Shows the document at `path` (an HTML file, or a web archive when `mht`).
  void Open(const std::string& path, bool mht);

  // The control on show; null before Create and after Close.
  HWND Hwnd() const;
  // Destroys the control; the page calls it while its window is being destroyed.
  void Close();

 private:
  void ShowText();
  std::string DocumentText() const;

  engine::SetupSession& session_;
  HWND page_ = nullptr;
  int id_ = 0;
  RECT rect_{};
  HFONT font_ = nullptr;
  std::string path_;
  bool mht_ = false;
  CExplorer browser_;
  bool browserShown_ = false;
  // Keeps the text box's window class registered while the box exists.
  platform::Library richEdit_;
  platform::OwnedWindow textBox_;
};

}  // namespace tarn::wizard
