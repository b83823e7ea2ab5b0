#include "wizard/DocumentView.h"

#include <richedit.h>

#include <algorithm>
#include <cstdint>

#include "text/ByteText.h"
#include "text/HtmlReader.h"
#include "text/MimeMessage.h"
#include "ui/SystemLibrary.h"

namespace tarn::wizard {

namespace {

// A licence is a few pages; anything beyond this is not read into the text box.
constexpr std::uint64_t kMaxDocumentBytes = 16u << 20;

// Characters of the system's code page for the entities of a document.
text::CodePointEncoder AnsiEncoder(std::uint32_t codePage) {
  return [codePage](char32_t c) -> std::string {
    wchar_t wide[2];
    int units = 1;
    if (c >= 0x10000) {
      wide[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      wide[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      units = 2;
    } else {
      wide[0] = static_cast<wchar_t>(c);
    }
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                      sizeof bytes, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return {};
    return std::string(bytes, static_cast<std::size_t>(n));
  };
}

}  // namespace

CDocumentView::~CDocumentView() { Close(); }

void CDocumentView::Close() {
  browserShown_ = false;
  browser_.Close();
  textBox_.Reset();
  page_ = nullptr;
}

void CDocumentView::Create(HWND page, int id, HFONT font) {
  page_ = page;
  id_ = id;
  font_ = font;
  if (HWND placeholder = GetDlgItem(page, id)) {
    GetWindowRect(placeholder, &rect_);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect_), 2);
    DestroyWindow(placeholder);
  }
  browserShown_ = browser_.Create(page, rect_, id);
  if (!browserShown_) ShowText();
}

HWND CDocumentView::Hwnd() const { return browserShown_ ? browser_.Hwnd() : textBox_.Get(); }

void CDocumentView::OpenTaskDocument(const project::Task* task, project::SubTaskType type,
                                     std::string_view mhtName, std::string_view htmName) {
  if (!task) return;
  std::string path = "[TempFileDir]";
  bool mht = false;
  bool named = false;
  for (const project::SubTask& subTask : task->SubTasks()) {
    if (subTask.Type() != type) continue;
    for (const project::FieldEntry& field : subTask.Fields()) {
      if (field.Name() == project::FieldName::FileType) {
        mht = text::EqualsIgnoreAsciiCase(field.Value(), "M");
        path += mht ? mhtName : htmName;
        named = true;
      } else if (field.Name() == project::FieldName::File && !field.Value().empty() && named) {
        // Without a FileType before it, the path names the temporary folder, not a document.
        Open(session_.StampedTempName(path), mht);
      }
    }
  }
}

void CDocumentView::Open(const std::string& path, bool mht) {
  path_ = path;
  mht_ = mht;
  if (browserShown_ && session_.System.files.Exists(path) &&
      browser_.Navigate(path, [this] { ShowText(); }))
    return;
  ShowText();
}

std::string CDocumentView::DocumentText() const {
  if (path_.empty()) return {};
  auto file = session_.System.files.Open(path_, platform::OpenMode::Read);
  if (!file) return {};
  std::string bytes;
  const std::uint64_t length = file->Length().value_or(0);
  bytes.resize(static_cast<std::size_t>(std::min(length, kMaxDocumentBytes)));
  std::size_t got = 0;
  if (!bytes.empty() && !file->Read(bytes.data(), bytes.size(), got)) got = 0;
  bytes.resize(got);
  const text::CodePointEncoder encode = AnsiEncoder(session_.CodePage);
  return mht_ ? text::MhtToText(bytes, session_.CodePage, encode)
              : text::HtmlToText(bytes, session_.CodePage, encode);
}

void CDocumentView::ShowText() {
  if (!page_) return;
  if (browserShown_) {
    browserShown_ = false;
    browser_.Close();
  }
  if (!textBox_) {
    if (!richEdit_) richEdit_ = ui::LoadSystemLibrary("riched20.dll");
    if (!richEdit_) return;
    textBox_.Reset(CreateWindowExA(
        WS_EX_CLIENTEDGE, RICHEDIT_CLASSA, "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
            ES_AUTOVSCROLL,
        rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, page_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), nullptr));
    if (!textBox_) return;
    SendMessageA(textBox_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageA(textBox_.Get(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(4, 4));
    // The box would otherwise take no more than 32767 characters.
    SendMessageA(textBox_.Get(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  }
  const std::string text = DocumentText();
  SetWindowTextA(textBox_.Get(), text.c_str());
  SendMessageA(textBox_.Get(), EM_SETSEL, 0, 0);
}

}  // namespace tarn::wizard
