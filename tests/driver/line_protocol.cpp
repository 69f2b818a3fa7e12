#include "line_protocol.h"

namespace vemtra_e2e {

std::string JoinFields(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += '\t';
    for (char c : fields[i]) {
      switch (c) {
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        default: line += c;
      }
    }
  }
  return line;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '\\' && i + 1 < line.size()) {
      char e = line[++i];
      switch (e) {
        case 't': fields.back() += '\t'; break;
        case 'n': fields.back() += '\n'; break;
        case 'r': fields.back() += '\r'; break;
        default: fields.back() += e;  // "\\" and anything unknown stand for themselves
      }
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace vemtra_e2e
