#include "project/FieldLine.h"

#include <gtest/gtest.h>

#include <string>

#include "text/ByteText.h"

namespace tarn::project {
namespace {

struct FieldCase {
  std::string line;
  FieldName name;
  std::string value;
};

void ExpectFields(const FieldCase* begin, const FieldCase* end, std::uint32_t codePage) {
  for (const FieldCase* c = begin; c != end; ++c) {
    const FieldEntry field = ParseFieldLine(c->line, codePage);
    EXPECT_EQ(field.Name(), c->name) << c->line;
    EXPECT_EQ(field.Value(), c->value) << c->line;
  }
}

TEST(FieldLine, NameAndValue) {
  const FieldCase cases[] = {
      {"<PosX>0</PosX>", FieldName::PosX, "0"},
      {"<posx>12</posx>", FieldName::PosX, "12"},
      {"<AdPicture></AdPicture>", FieldName::AdPicture, ""},
      {"<Description>a > b</Description>", FieldName::Description, "a > b"},
      {"<Description>a < b</Description>", FieldName::Description, "a "},
      {"<Description>  Two Spaces  </Description>", FieldName::Description, "  Two Spaces  "},
      {"<Folder>[InstallDir]\\Data</Folder>", FieldName::Folder, "[InstallDir]\\Data"},
      {"<File>x,1,2,A,2005-1-2 3:4:5</File>", FieldName::File, "x,1,2,A,2005-1-2 3:4:5"},
      // The closing tag is never examined.
      {"<Description>x</Other>", FieldName::Description, "x"},
      {"<Description>x", FieldName::Description, ""},
      {"<Description>", FieldName::Description, ""},
      {"<Unknown>x</Unknown>", FieldName::InvalidField, "x"},
      {"<PosX >0</PosX>", FieldName::InvalidField, "0"},
      // Indented, blank and tag-less lines fit no field.
      {"  <PosX>0</PosX>", FieldName::InvalidField, ""},
      {"", FieldName::InvalidField, ""},
      {"<", FieldName::InvalidField, ""},
      {">", FieldName::InvalidField, ""},
      {"just text", FieldName::InvalidField, ""},
      {"\t<File>x</File>", FieldName::InvalidField, ""},
  };
  ExpectFields(std::begin(cases), std::end(cases), 0);
}

TEST(FieldLine, DoubleByteValuesStayByteForByte) {
  // GBK: 0x81 0x5C and 0x83 0x5C end in a backslash byte, 0x81 0x61 in "a".
  const FieldCase gbk[] = {
      {"<Folder>[InstallDir]\\\x81\x5C\\Docs</Folder>", FieldName::Folder,
       "[InstallDir]\\\x81\x5C\\Docs"},
      {"<Description>\x83\x5C\x81\x61</Description>", FieldName::Description, "\x83\x5C\x81\x61"},
  };
  ExpectFields(std::begin(gbk), std::end(gbk), text::kCodePageGbk);
  // Big5: 0xB3 0x5C ends in a backslash byte, 0xA5 0x61 in "a", 0xA4 0x5B / 0xA4 0x5D in
  // brackets.
  const FieldCase big5[] = {
      {"<ProjectName>\xB3\x5C\xA5\x61 Tool</ProjectName>", FieldName::ProjectName,
       "\xB3\x5C\xA5\x61 Tool"},
      {"<PathValue>C:\\\xA4\x5B\xA4\x5D\\</PathValue>", FieldName::PathValue,
       "C:\\\xA4\x5B\xA4\x5D\\"},
  };
  ExpectFields(std::begin(big5), std::end(big5), text::kCodePageBig5);
}

}  // namespace
}  // namespace tarn::project
