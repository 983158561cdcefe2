// The trace: one JSON object per line for every call of the program, with
// the bound records' values at each action. Lines go straight into a stdio
// buffer; nothing accumulates in memory however long the run. The window
// backend has it flushed whenever it waits for input.
#ifndef KVR_CORE_TRACE_H
#define KVR_CORE_TRACE_H

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bindings.h"

namespace kvr {

class TraceWriter {
 public:
  TraceWriter() = default;
  ~TraceWriter();
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  // Creates (truncates) the trace file. False, with a message on `errors`,
  // when it cannot; the run then goes on without a trace.
  bool open(const std::string& path, std::ostream& errors);
  bool active() const { return file_ != nullptr; }

  void begin(std::int32_t arg);
  void load(std::string_view file, bool ok, std::string_view error);
  void link(const Binding& binding);
  // `full`: every declared binding; otherwise every one on the first exec
  // line and then only those whose record bytes changed since the last one.
  void exec(std::string_view action, std::uint64_t polls, int result, const BindingTable& table,
            bool full);
  void end();
  void flush();
  void close();

 private:
  struct Snapshot {
    std::size_t offset = 0;
    std::size_t size = 0;
  };

  void write_line();
  void append_string(std::string_view latin1);
  void append_value(const Binding& binding, std::size_t index, const unsigned char* record);
  const std::string& escaped_action(std::string_view action);

  std::FILE* file_ = nullptr;
  std::ostream* errors_ = nullptr;
  std::string line_;
  std::string scratch_;
  bool first_exec_ = true;
  std::vector<unsigned char> bytes_;     // the records as the last exec line saw them
  std::vector<Snapshot> snapshots_;      // per record
  std::vector<unsigned char> changed_;   // per record, for the exec line being written
  std::vector<std::string> keys_;        // per binding: "OBJECT.VARIABLE" as a JSON string
  std::vector<unsigned char> reported_;  // per binding: text problems already on stderr
  std::vector<std::pair<std::string, std::string>> actions_;  // action -> JSON string
};

}  // namespace kvr

#endif
