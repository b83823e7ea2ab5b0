#include "FuzzEntries.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "MemoryFileSystem.h"
#include "engine/actions/RegistryOperations.h"
#include "engine/session/SetupSession.h"
#include "package/LzmaHeader.h"
#include "package/PackageAddress.h"
#include "package/PackageEntry.h"
#include "package/PackageReader.h"
#include "package/PackageTrailer.h"
#include "pages/InstallPathCheck.h"
#include "pictures/BitmapFile.h"
#include "project/LanguageTable.h"
#include "project/ProjectLoader.h"
#include "startup/SetupCommandLine.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/RecordingShell.h"
#include "tarnpack/DiscardingFileSystem.h"
#include "text/ByteText.h"

namespace tarn::fuzz {

namespace {

// A broken invariant is a finding like a sanitizer report: stop with a message.
void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

// The code pages of the texts we meet: Western single-byte, GBK and Big5.
std::uint32_t CodePageFrom(std::uint8_t selector) {
  constexpr std::array<std::uint32_t, 3> kCodePages{1252, 936, 950};
  return kCodePages[selector % kCodePages.size()];
}

std::string Bytes(const std::uint8_t* data, std::size_t size) {
  return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

bool NoControlBytes(const std::string& text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

void PackageTrailerInput(const std::uint8_t* data, std::size_t size) {
  // The trailer is read from the end of a file of any length.
  MemoryFileSystem files;
  files.Put("C:\\Setup.exe", Bytes(data, size));
  auto file = files.Open("C:\\Setup.exe", platform::OpenMode::Read);
  const auto trailer = package::ReadPackageTrailer(*file);
  Check(trailer.has_value() == (size >= package::kTrailerSize), "trailer read iff 88 bytes");
  if (!trailer) return;

  std::array<std::uint8_t, package::kTrailerSize> last{};
  std::copy_n(data + size - last.size(), last.size(), last.begin());
  Check(trailer->Encode() == last, "trailer encodes back to its bytes");
  const std::string identity = trailer->IdentityText();
  Check(identity.size() <= package::kIdentitySize, "identity within its field");
  package::PackageTrailer copy;
  if (copy.SetIdentityText(identity)) Check(copy.SameIdentity(*trailer), "identity round trip");
  // Where the project stream lies, for both the single-file and the split reading.
  package::LocateOffset(static_cast<std::int64_t>(trailer->projectOffset),
                        static_cast<std::int64_t>(trailer->projectSize));
  package::VolumeFileName(static_cast<std::int64_t>(trailer->volumeNumber));
}

void PackageEntryInput(const std::uint8_t* data, std::size_t size) {
  const std::string line = Bytes(data, size);
  const auto entry = package::PackageEntry::Parse(line);
  Check(entry.has_value() == (size <= package::PackageEntry::kMaxLineLength),
        "a line is refused only for its length");
  if (!entry) return;
  entry->TimeStamp();
  Check(entry->KindCode() >= 0 && entry->KindCode() <= 7, "kind code in range");
  // The same line through a path expander, as the loader parses it.
  const auto expanded = package::PackageEntry::Parse(
      line, [](const std::string& target) { return "C:\\Program Files\\" + target; });
  Check(expanded && expanded->Target() == entry->Target(), "expansion keeps the target");
}

void ProjectDocumentInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::uint32_t codePage = CodePageFrom(data[0]);
  const std::string text = Bytes(data + 1, size - 1);
  project::InstallProject project;
  project::LoadProjectText(text, codePage, project);
  // The file route reads the same document.
  MemoryFileSystem files;
  files.Put("C:\\TEMP\\project.xml", text);
  project::InstallProject fromFile;
  project::LoadProject(files, "C:\\TEMP\\project.xml", codePage, fromFile);
}

void LanguageFileInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return;
  // English, Simplified and Traditional Chinese, Japanese, German, Hong Kong, and any other.
  constexpr std::array<std::uint32_t, 7> kLocales{0x409, 0x804, 0x404, 0x411, 0x407, 0xC04, 0};
  std::uint32_t locale = kLocales[data[1] % kLocales.size()];
  if (locale == 0) locale = data[1];
  MemoryFileSystem files;
  files.Put("C:\\TEMP\\Language.ini", Bytes(data + 2, size - 2));
  project::LanguageTable table(locale, CodePageFrom(data[0]));
  table.Load("C:\\TEMP\\Language.ini", files);
  for (std::int32_t index = -1; index <= project::kLanguageKeyCount + 1; ++index) {
    table.GetText(index);
  }
}

void BitmapInput(const std::uint8_t* data, std::size_t size) {
  MemoryFileSystem files;
  files.Put("C:\\TEMP\\picture.bmp", Bytes(data, size));
  const auto image = pictures::ReadBitmapFile(files, "C:\\TEMP\\picture.bmp");
  if (!image) return;
  Check(image->bytes.size() >= image->BitsOffset(), "bits follow the colour table");
  Check(image->ImageSize() <= pictures::kMaxBitmapImageSize, "image within its limit");
  const auto expected =
      pictures::BitmapImageSize(static_cast<std::uint32_t>(image->width),
                                image->height < 0 ? 0u - static_cast<std::uint32_t>(image->height)
                                                  : static_cast<std::uint32_t>(image->height),
                                image->bitCount);
  Check(expected && *expected <= image->ImageSize(), "every row is in memory");
  pictures::BitmapPalette(*image);
}

void RegistryTextInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::uint32_t codePage = CodePageFrom(data[0]);
  MemoryFileSystem files;
  files.Put("C:\\TEMP\\data.txt", Bytes(data + 1, size - 1));
  test::FakeRegistry registry(codePage);
  test::FakeSystemFacts system;
  test::FakeClock clock;
  system.ansiCodePage = codePage;
  test::RecordingShell shell;
  engine::SetupSession session(engine::Platform{files, registry, system, clock, shell});
  engine::ImportRegistryTextFile(session, "C:\\TEMP\\data.txt");
  Check(registry.OpenHandles() == 0, "every registry handle closed");
}

void ExtractEntryInput(const std::uint8_t* data, std::size_t size) {
  // Byte 0: bit 0 stored, bit 1 a stream that claims more bytes than the volume holds; byte 1:
  // where the stream starts. The rest is the volume.
  if (size < 2) return;
  const bool stored = (data[0] & 1) != 0;
  const bool overlong = (data[0] & 2) != 0;
  const std::string volume = Bytes(data + 2, size - 2);
  const std::size_t offset = std::min<std::size_t>(data[1] % 32, volume.size());
  const std::size_t length = volume.size() - offset + (overlong ? 1000 : 0);

  // Keep one run fast: a tiny stream can claim gigabytes of output.
  constexpr std::uint64_t kMaxOutput = 4u << 20;
  std::uint64_t declared = 0;
  if (!stored && volume.size() - offset >= package::kLzmaHeaderSize) {
    std::array<std::uint8_t, package::kLzmaHeaderSize> header{};
    std::copy_n(volume.begin() + static_cast<std::ptrdiff_t>(offset), header.size(),
                header.begin());
    declared = package::DecodeLzmaHeader(header).uncompressedSize;
    if (declared > kMaxOutput && declared != UINT64_MAX) return;
  }

  MemoryFileSystem files;
  files.Put("C:\\Setup.exe", volume);
  tarnpack::DiscardingFileSystem sink(files);
  std::atomic<bool> extractionOver{false};
  package::PackageReader reader(sink, extractionOver, 1252);
  reader.SetCapacity(static_cast<std::int64_t>(volume.size()));
  Check(reader.OpenVolume("C:\\Setup.exe", false), "the volume opens");
  const bool ok = reader.ExtractEntry("C:\\App\\file.bin", static_cast<std::int64_t>(offset),
                                      static_cast<std::int64_t>(length), stored);
  if (!ok) return;
  // A compressed stream may end before its stated size (the decoder stops at its end); copied
  // bytes must all be there.
  Check(!(stored && overlong), "a truncated stored stream fails");
  Check(sink.Written() == (stored ? length : declared), "the whole file is written");
}

void SetupCommandLineInput(const std::uint8_t* data, std::size_t size) {
  const std::string line = Bytes(data, size);
  for (const std::uint32_t codePage : {1252u, 950u}) {
    const startup::ParsedCommandLine parsed = startup::ParseSetupCommandLine(line, codePage);
    Check(parsed.error.size() < 200, "the message stays short");
    Check(NoControlBytes(parsed.error), "the message is one line");
    // A value is kept only when it passed its checks, also beside an error.
    const startup::SetupOptions& options = parsed.options;
    std::string again = options.silent ? "/S" : "";
    const auto sound = [&](const std::optional<std::string>& value, std::size_t limit,
                           const char* option) {
      if (!value) return;
      Check(!value->empty() && value->size() <= limit && NoControlBytes(*value) &&
                value->find('"') == std::string::npos,
            "a kept value is sound");
      again += std::string(" ") + option + "\"" + *value + "\"";
    };
    sound(options.programFolder, 259, "/GROUP=");
    sound(options.logPath, 259, "/LOG=");
    sound(options.installDir, pages::kMaxInstallPathLength, "/D=");
    if (const auto& dir = options.installDir) {
      const char letter = static_cast<char>((*dir)[0] | 0x20);
      const bool drive =
          dir->size() >= 3 && letter >= 'a' && letter <= 'z' && dir->compare(1, 2, ":\\") == 0;
      Check(drive || dir->compare(0, 2, "\\\\") == 0, "the installation folder is a full path");
    }
    if (const auto& folder = options.programFolder) {
      // Every part between separators is a name: the folder stays inside the Start menu.
      for (std::size_t start = 0;;) {
        const std::size_t end = text::FindChar(*folder, '\\', codePage, start);
        const std::string part = folder->substr(start, end == text::npos ? end : end - start);
        Check(!part.empty() && part != "." && part != "..", "the program folder stays inside");
        if (end == text::npos) break;
        start = end + 1;
      }
    }
    // Written out again, the kept options read back the same, without an error.
    const startup::ParsedCommandLine reread = startup::ParseSetupCommandLine(again, codePage);
    Check(reread.error.empty() && reread.options.silent == options.silent &&
              reread.options.installDir == options.installDir &&
              reread.options.programFolder == options.programFolder &&
              reread.options.logPath == options.logPath,
          "the kept options read back the same");
  }
}

const NamedEntry* Entries(std::size_t& count) {
  static constexpr NamedEntry kEntries[] = {
      {"package_trailer", PackageTrailerInput},
      {"package_entry", PackageEntryInput},
      {"project_document", ProjectDocumentInput},
      {"language_file", LanguageFileInput},
      {"bitmap", BitmapInput},
      {"registry_text", RegistryTextInput},
      {"extract_entry", ExtractEntryInput},
      {"setup_command_line", SetupCommandLineInput},
  };
  count = sizeof kEntries / sizeof kEntries[0];
  return kEntries;
}

Entry FindEntry(std::string_view name) {
  std::size_t count = 0;
  const NamedEntry* entries = Entries(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (name == entries[i].name) return entries[i].entry;
  }
  return nullptr;
}

}  // namespace tarn::fuzz
