#pragma once
// What every wizard page offers the frame: a modeless child dialog made from its template, its
// project task, the band texts, and what it does when it is shown and hidden.

#include <windows.h>

#include <optional>
#include <string>

#include "engine/session/SetupSession.h"
#include "project/LanguageKeys.h"
#include "project/Task.h"
#include "ui/ModelessDialog.h"

namespace tarn::wizard {

class CWizardPage : public ui::ModelessDialog {
 public:
  // The band texts are the texts of `subject` and `description`; a page without them (the
  // welcome page) has no band.
  CWizardPage(int templateId, engine::SetupSession& session,
              std::optional<project::LanguageKey> subject = std::nullopt,
              std::optional<project::LanguageKey> description = std::nullopt);

  // Takes the band texts and creates the (hidden) page window as a child of the frame.
  virtual bool Create(HWND frame);
  // The page's task; null when the project has none.
  virtual void SetTask(const project::Task* task) { task_ = task; }
  const project::Task* Task() const { return task_; }

  const std::string& GetSubject() const { return subject_; }
  const std::string& GetDescription() const { return description_; }

  virtual void Show() { ShowWindow(Hwnd(), SW_SHOW); }
  virtual void Hide() { ShowWindow(Hwnd(), SW_HIDE); }

 protected:
  // Fonts from the page's dialog font: normal and bold.
  bool OnInitDialog() override;

  // The wizard frame: the page's parent window.
  HWND Frame() const { return GetParent(Hwnd()); }
  std::string Text(project::LanguageKey key) const { return session_.Language.GetText(key); }

  engine::SetupSession& session_;
  const project::Task* task_ = nullptr;
  std::string subject_;
  std::string description_;
  ui::Font normalFont_;
  ui::Font boldFont_;

 private:
  std::optional<project::LanguageKey> subjectKey_;
  std::optional<project::LanguageKey> descriptionKey_;
};

}  // namespace tarn::wizard
