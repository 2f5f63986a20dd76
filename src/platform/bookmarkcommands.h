#pragma once

// Command identifiers of the bookmarks, kept beside the historic numbers.
namespace qel::cmd {

enum BookmarkId : int {
    AddBookmark = 33011,         // "책갈피 추가...", also in the Bible text's context menu
    ToggleBookmarkPanel = 33012, // "책갈피 창"
};

} // namespace qel::cmd
