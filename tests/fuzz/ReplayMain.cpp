// Stands in for libFuzzer where the compiler has none: runs the fuzz target
// once on every file named on the command line (folders: every file in them,
// in name order), so that the corpus replays as an ordinary test. A crash or an
// abort in the target fails the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path named(argv[i]);
    if (fs::is_directory(named)) {
      for (const auto& entry : fs::recursive_directory_iterator(named))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    } else {
      inputs.push_back(named);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  if (inputs.empty()) {
    std::cerr << "no inputs to replay\n";
    return 1;
  }
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    if (!in) {
      std::cerr << "cannot read " << input << "\n";
      return 1;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << "replayed " << inputs.size() << " inputs\n";
  return 0;
}
