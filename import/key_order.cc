#include "import/key_order.h"

#include <nlohmann/json.hpp>

namespace fxt {
namespace {

// Follows the text as a stream of events, keeping the member names that
// lead from the root to the current value.
class KeyRecorder : public nlohmann::json_sax<nlohmann::json> {
 public:
  explicit KeyRecorder(const std::vector<std::string>& path) : path_(path) {}

  std::vector<std::string> keys;

  bool null() override { return Value(); }
  bool boolean(bool /*value*/) override { return Value(); }
  bool number_integer(number_integer_t /*value*/) override { return Value(); }
  bool number_unsigned(number_unsigned_t /*value*/) override { return Value(); }
  bool number_float(number_float_t /*value*/, const string_t& /*text*/) override { return Value(); }
  bool string(string_t& /*value*/) override { return Value(); }
  bool binary(binary_t& /*value*/) override { return Value(); }
  bool start_object(std::size_t /*size*/) override { return Open(true); }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t /*size*/) override { return Open(false); }
  bool end_array() override { return Close(); }
  bool key(string_t& name) override {
    Level& level = levels_.back();
    level.key = name;
    if (level.onPath && levels_.size() == path_.size() + 1) keys.push_back(name);
    return true;
  }
  bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                   const nlohmann::detail::exception& /*error*/) override {
    return false;
  }

 private:
  struct Level {
    bool object = false;
    bool onPath = false;  // every key from the root to this value is the path's
    std::string key;      // the member being read, in an object
  };

  static bool Value() { return true; }
  bool Open(bool object) {
    bool onPath = levels_.empty();
    if (!levels_.empty()) {
      const Level& parent = levels_.back();
      const size_t depth = levels_.size() - 1;
      onPath = parent.onPath && parent.object && depth < path_.size() && parent.key == path_[depth];
    }
    levels_.push_back({object, onPath, {}});
    return true;
  }
  bool Close() {
    levels_.pop_back();
    return true;
  }

  const std::vector<std::string>& path_;
  std::vector<Level> levels_;
};

}  // namespace

std::vector<std::string> KeysInFileOrder(std::string_view json,
                                         const std::vector<std::string>& path) {
  KeyRecorder recorder(path);
  if (!nlohmann::json::sax_parse(json.begin(), json.end(), &recorder)) return {};
  return std::move(recorder.keys);
}

}  // namespace fxt
