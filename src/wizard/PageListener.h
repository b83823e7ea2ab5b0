#pragma once
// What a page tells the window that shows it: something the user did changed what the page
// allows (going on, going back), so the buttons may have to follow.

namespace tarn::wizard {

class CWizardPage;

class PageListener {
 public:
  virtual void PageChanged(const CWizardPage& page) = 0;

 protected:
  ~PageListener() = default;
};

}  // namespace tarn::wizard
