// The preview's rooms (preview/README.md): each stage includes only the
// stages before it and the vector maths, never a later stage nor the
// context that drives them all, and every file lies in a room.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The rooms in the order of the pipeline; the context drives every stage.
const std::vector<std::string> kStages = {"math", "surfaces", "shading", "raster", "image"};
const std::string kDriver = "context";

// The room of an included or including preview path ("" for a file at the
// top of preview/).
std::string roomOf(const std::string &path) {
  const size_t slash = path.find('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

int rank(const std::string &room) {
  for (size_t i = 0; i < kStages.size(); ++i)
    if (kStages[i] == room) return int(i);
  return -1;
}

// What a file in `from` may not include, or "" when it may.
std::string refusal(const std::string &from, const std::string &included) {
  const std::string to = roomOf(included);
  if (from == kDriver || from.empty()) return "";
  if (to == kDriver || to.empty()) return "a stage includes the context";
  if (rank(to) < 0) return "a room that is not a stage";
  if (rank(to) > rank(from)) return "a later stage";
  return "";
}

TEST(PreviewRooms, TheRuleRefusesWhatItShould) {
  const struct {
    const char *from, *included, *refused;
  } cases[] = {
      {"raster", "surfaces/mesh.h", ""},
      {"raster", "raster/camera.h", ""},
      {"image", "raster/sample_buffer.h", ""},
      {"surfaces", "math/vec_math.h", ""},
      {"context", "image/png_file.h", ""},
      {"", "raster/camera.h", ""},
      {"surfaces", "raster/camera.h", "a later stage"},
      {"math", "surfaces/mesh.h", "a later stage"},
      {"shading", "raster/camera.h", "a later stage"},
      {"raster", "image/image.h", "a later stage"},
      {"surfaces", "context/parameters.h", "a stage includes the context"},
      {"raster", "preview_context.h", "a stage includes the context"},
      {"shading", "attic/old.h", "a room that is not a stage"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.from) + " includes " + c.included);
    EXPECT_EQ(refusal(c.from, c.included), c.refused);
  }
}

TEST(PreviewRooms, EachStageIncludesOnlyEarlierStages) {
  const fs::path preview = fs::path(VELLUM_SOURCE_DIR) / "preview";
  const std::regex include("^#include \"preview/([^\"]+)\"");
  std::set<std::string> roomsSeen;
  int files = 0;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(preview)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), preview).generic_string();
    const std::string room = roomOf(relative);
    const std::string extension = entry.path().extension().string();
    if (room.empty()) {
      // At the door: the class outside code uses, and the map of the house.
      EXPECT_TRUE(relative == "preview_context.h" || relative == "README.md") << relative << " lies outside the rooms";
      if (relative == "README.md") continue;
    } else {
      EXPECT_TRUE(room == kDriver || rank(room) >= 0) << relative << " is in no room of the pipeline";
      roomsSeen.insert(room);
    }
    if (extension != ".h" && extension != ".cpp") continue;
    ++files;
    std::ifstream in(entry.path());
    std::string line;
    while (std::getline(in, line)) {
      std::smatch match;
      if (!std::regex_search(line, match, include)) continue;
      EXPECT_EQ(refusal(room, match[1]), "") << relative << " includes preview/" << match[1];
    }
  }
  EXPECT_GT(files, 40);
  // Every room is lived in.
  EXPECT_EQ(roomsSeen.size(), kStages.size() + 1);
}

}  // namespace
