#pragma once
// What every wizard page offers the frame: a modeless child dialog made from its template, its
// project task, the band texts, what it does when it is shown and hidden, and its own rules for
// going on and going back.

#include <windows.h>

#include <optional>
#include <string>

#include "engine/session/SetupSession.h"
#include "project/LanguageKeys.h"
#include "project/Task.h"
#include "ui/ModelessDialog.h"
#include "wizard/PageKind.h"
#include "wizard/PageListener.h"

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

  // Whether the page shows below the band; one without (the welcome page) covers it.
  bool HasBand() const { return subjectKey_.has_value(); }
  const std::string& GetSubject() const { return subject_; }
  const std::string& GetDescription() const { return description_; }

  virtual void Show() { ShowWindow(Hwnd(), SW_SHOW); }
  virtual void Hide() { ShowWindow(Hwnd(), SW_HIDE); }

  // Asked before the wizard moves from this page to one of kind `next`: false keeps the page
  // current, having run the page's own checks.
  virtual bool Leave(PageKind) { return true; }
  // Whether Next and Back may be used while the page is shown.
  virtual bool CanGoNext() const { return true; }
  virtual bool CanGoBack() const { return true; }
  // Who hears that CanGoNext or CanGoBack may have changed; may be null.
  void SetListener(PageListener* listener) { listener_ = listener; }

 protected:
  // Fonts from the page's dialog font: normal and bold.
  bool OnInitDialog() override;

  // Tells the listener, if any, that the page's rules may give other answers now.
  void Changed() const {
    if (listener_) listener_->PageChanged(*this);
  }
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
  PageListener* listener_ = nullptr;
};

}  // namespace tarn::wizard
