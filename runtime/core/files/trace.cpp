#include "trace.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>

namespace kvr {

namespace {

constexpr unsigned char reported_cut = 1;
constexpr unsigned char reported_no_zero = 2;
constexpr std::size_t max_text = 78;
constexpr std::size_t cached_actions = 64;

// Every byte the program hands over is one Latin-1 character.
void latin1_to_utf8(std::string_view bytes, std::string& out) {
  out.clear();
  for (char c : bytes) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
}

std::string json_string(std::string_view latin1) {
  std::string utf8;
  latin1_to_utf8(latin1, utf8);
  return nlohmann::json(std::move(utf8)).dump();
}

template <typename T>
T read_as(const unsigned char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
void append_number(std::string& out, T value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

// JSON has no NaN or infinity: such a switch value is written as null.
void append_float(std::string& out, float value) {
  if (std::isfinite(value)) {
    append_number(out, value);
  } else {
    out += "null";
  }
}

}  // namespace

TraceWriter::~TraceWriter() {
  close();
}

bool TraceWriter::open(const std::string& path, std::ostream& errors) {
  close();
  errors_ = &errors;
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    errors << "KvrRun: " << path << ": cannot write the trace (" << std::strerror(errno)
           << "); running without a trace\n";
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
  line_.reserve(1 << 12);
  first_exec_ = true;
  bytes_.clear();
  snapshots_.clear();
  keys_.clear();
  reported_.clear();
  return true;
}

void TraceWriter::write_line() {
  line_ += '\n';
  std::fwrite(line_.data(), 1, line_.size(), file_);
  line_.clear();
}

void TraceWriter::append_string(std::string_view latin1) {
  line_ += json_string(latin1);
}

void TraceWriter::begin(std::int32_t arg) {
  if (!file_) return;
  line_ = "{\"event\":\"begin\",\"arg\":";
  append_number(line_, arg);
  line_ += '}';
  write_line();
}

void TraceWriter::load(std::string_view file, bool ok, std::string_view error) {
  if (!file_) return;
  line_ = "{\"event\":\"load\",\"file\":";
  append_string(file);
  line_ += ok ? ",\"ok\":true" : ",\"ok\":false,\"error\":";
  if (!ok) append_string(error);
  line_ += '}';
  write_line();
}

void TraceWriter::link(const Binding& binding) {
  if (!file_) return;
  line_ = "{\"event\":\"link\",\"object\":";
  append_string(binding.object);
  line_ += ",\"variable\":";
  append_string(binding.variable);
  line_ += ",\"record\":";
  append_number(line_, binding.record);
  if (binding.declared < 0) line_ += ",\"known\":false";
  line_ += '}';
  write_line();
}

const std::string& TraceWriter::escaped_action(std::string_view action) {
  for (const auto& [name, escaped] : actions_) {
    if (name == action) return escaped;
  }
  if (actions_.size() < cached_actions) {
    actions_.emplace_back(std::string(action), json_string(action));
    return actions_.back().second;
  }
  scratch_ = json_string(action);
  return scratch_;
}

void TraceWriter::append_value(const Binding& binding, std::size_t index, const unsigned char* p) {
  switch (binding.kind) {
    case RecordKind::Text: {
      std::size_t count = p[0];
      if (count > max_text) {
        if (!(reported_[index] & reported_cut) && errors_) {
          *errors_ << "KvrRun: trace: " << binding.key << ": text length " << count << " is above "
                   << max_text << "; cut to " << max_text << '\n';
        }
        reported_[index] |= reported_cut;
        count = max_text;
      } else if (p[count + 1] != 0) {
        if (!(reported_[index] & reported_no_zero) && errors_) {
          *errors_ << "KvrRun: trace: " << binding.key << ": no zero byte after the " << count
                   << " characters\n";
        }
        reported_[index] |= reported_no_zero;
      }
      append_string(std::string_view(reinterpret_cast<const char*>(p + 1), count));
      break;
    }
    case RecordKind::Switch:
      line_ += '[';
      append_float(line_, read_as<float>(p));
      line_ += ',';
      append_float(line_, read_as<float>(p + 4));
      line_ += ']';
      break;
    case RecordKind::Colour:
      line_ += '[';
      append_number(line_, read_as<std::int16_t>(p));
      line_ += ',';
      append_number(line_, read_as<std::int16_t>(p + 2));
      line_ += ',';
      append_number(line_, read_as<std::int16_t>(p + 4));
      line_ += ']';
      break;
    case RecordKind::Int32:
      append_number(line_, read_as<std::int32_t>(p));
      break;
    case RecordKind::Area8:
      line_ += '[';
      append_number(line_, read_as<std::int32_t>(p));
      line_ += ',';
      append_number(line_, read_as<std::int32_t>(p + 4));
      line_ += ']';
      break;
  }
}

void TraceWriter::exec(std::string_view action, std::uint64_t polls, int result,
                       const BindingTable& table, bool full) {
  if (!file_) return;
  const auto& records = table.records();
  const auto& bindings = table.bindings();

  // Compare every record with its bytes at the previous exec line.
  changed_.assign(records.size(), 0);
  if (snapshots_.size() < records.size()) snapshots_.resize(records.size());
  for (std::size_t r = 0; r < records.size(); ++r) {
    const BoundRecord& record = records[r];
    if (record.size == 0) continue;
    Snapshot& snap = snapshots_[r];
    if (snap.size != record.size) {  // first seen, or bound again with a larger kind
      snap.offset = bytes_.size();
      snap.size = record.size;
      bytes_.resize(bytes_.size() + record.size);
      std::memcpy(bytes_.data() + snap.offset, record.address, record.size);
      changed_[r] = 1;
    } else if (std::memcmp(bytes_.data() + snap.offset, record.address, record.size) != 0) {
      std::memcpy(bytes_.data() + snap.offset, record.address, record.size);
      changed_[r] = 1;
    }
  }
  for (std::size_t b = keys_.size(); b < bindings.size(); ++b) {
    keys_.push_back(json_string(bindings[b].key));
    reported_.push_back(0);
  }

  bool all = full || first_exec_;
  first_exec_ = false;
  line_ = "{\"event\":\"exec\",\"action\":";
  line_ += escaped_action(action);
  line_ += ",\"polls\":";
  append_number(line_, polls);
  line_ += ",\"result\":";
  append_number(line_, result);
  line_ += ",\"state\":{";
  bool first = true;
  for (std::size_t b = 0; b < bindings.size(); ++b) {
    const Binding& binding = bindings[b];
    if (binding.declared < 0) continue;  // its layout is unknown: never read
    auto r = static_cast<std::size_t>(binding.record);
    if (!all && !changed_[r]) continue;
    if (!first) line_ += ',';
    first = false;
    line_ += keys_[b];
    line_ += ':';
    append_value(binding, b, records[r].address);
  }
  line_ += "}}";
  write_line();
}

void TraceWriter::end() {
  if (!file_) return;
  line_ = "{\"event\":\"end\"}";
  write_line();
  flush();
}

void TraceWriter::flush() {
  if (file_) std::fflush(file_);
}

void TraceWriter::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace kvr
