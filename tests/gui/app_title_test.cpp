#include "gui/app_title.h"

#include <gtest/gtest.h>

namespace vlt {
namespace {

TEST(ApplicationTitle, FolderAndExtensionDroppedRestLowerCase) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\Tools\\TOOL.EXE", "Tool"},
        {"mytool.exe", "mytool"},
        {"/usr/bin/vosk-land-texture", "vosk-land-texture"},
        {"/home/me/build/VOSK-Land-Texture", "Vosk-land-texture"},
        // Cut at the first dot of the file name, not of the folder, and not at the last dot.
        {"/opt/app.d/Editor.tar.gz", "Editor"},
        {"/opt/app.d/editor", "editor"},
        {"D:\\x.y\\z/Mixed\\Seps.exe", "Seps"},
        {"/tmp/.hidden", ""},
        {"", ""},
        // Only ASCII letters change case; the first character keeps its case.
        {"/bin/\xC3\x89"
         "DIT",
         "\xC3\x89"
         "dit"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(application_title(c.path), c.title) << c.path;
    }
}

}  // namespace
}  // namespace vlt
