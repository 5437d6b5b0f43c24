#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "grid/textio/csv_writer.h"

namespace kelvora::csv_test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own for each test, removed with everything in it.
class TTestFolder {
 public:
  std::string Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

 private:
  QTemporaryDir dir_;
};

// Writes the source to a fresh file and returns what the file holds.
inline std::string WrittenCsv(TCsvCellSource& source, const TCsvSettings& settings = {}) {
  TTestFolder folder;
  const std::string path = folder.Path("out.csv");
  WriteCsvFile(source, settings, path, false);
  return ReadBytes(path);
}

}  // namespace kelvora::csv_test
