// settings.ini and BANKI.INI are edited by hand on Windows. The input's first line (UTF-8) is a
// value the program writes; the rest is the file as found on disk.
//
// Writing the file back unchanged keeps every value it holds; writing one value changes that
// value alone, and reading it again gives what was written, trimmed and unquoted as any value;
// erasing a section removes every section of that name and nothing else.

#include "FuzzInput.h"
#include "model/Text.h"
#include "settings/IniFile.h"

#include <map>
#include <utility>

namespace {

using TValues = std::map<std::pair<QString, QString>, QString>;

// Every value the file gives, under its section and key as listed.
TValues ReadAll(const TIniFile &ini) {
  TValues values;
  for (const QString &section : ini.ReadSections())
    for (const QString &key : ini.ReadKeys(section))
      values[{section, key}] = ini.ReadString(section, key);
  return values;
}

// The values without those of the section, or of one key of it when a key is given.
TValues Without(TValues values, const QString &section, const QString &key = {}) {
  for (auto it = values.begin(); it != values.end();)
    it = it->first.first.compare(section, Qt::CaseInsensitive) == 0 &&
                 (key.isEmpty() || it->first.second.compare(key, Qt::CaseInsensitive) == 0)
             ? values.erase(it)
             : std::next(it);
  return values;
}

QString ExpectedReadBack(QString value) {
  value.replace(u'\r', u' ').replace(u'\n', u' ');
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    value = value.mid(1, value.size() - 2);
  return value.left(TIniFile::MaxValueLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const TFuzzFile file(QStringLiteral("settings.ini"));
  const QByteArray input = InputBytes(data, size);
  const qsizetype lineEnd = input.indexOf('\n');
  const QString value = QString::fromUtf8(input.left(lineEnd < 0 ? 0 : lineEnd));
  file.Write(lineEnd < 0 ? input : input.mid(lineEnd + 1));

  const TIniFile original(file.Path());
  const TValues before = ReadAll(original);
  original.Save();
  if (ReadAll(TIniFile(file.Path())) != before)
    PropertyFailed("writing the file back changed a value");

  TIniFile changed(file.Path());
  const QString section = QStringLiteral("COMPANY");
  const QString key = QStringLiteral("Name");
  changed.WriteString(section, key, value);
  changed.Save();
  const TIniFile reread(file.Path());
  if (reread.ReadString(section, key) != ExpectedReadBack(value))
    PropertyFailed("a written value reads back as other text");
  if (Without(ReadAll(reread), section, key) != Without(before, section, key))
    PropertyFailed("writing one value changed another");

  // As the bank register does before writing itself anew.
  changed.EraseSection(section);
  changed.Save();
  const TIniFile erased(file.Path());
  for (const QString &name : erased.ReadSections())
    if (name.compare(section, Qt::CaseInsensitive) == 0)
      PropertyFailed("an erased section is still there");
  if (ReadAll(erased) != Without(before, section))
    PropertyFailed("erasing one section changed another");
  return 0;
}
