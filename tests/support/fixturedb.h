#pragma once

#include "mkdb/contentbuilder.h"

#include <string>

// A small content database: two versions, titles, related content and articles.
inline qel::mkdb::ContentSources fixtureSources() {
    qel::mkdb::ContentSources s;
    s.versions["VRA"] = {{"gen", "1", "1", "맨 처음에 {W VAL=P}하나님{/W}께서"},
                         {"gen", "1", "2", "땅이 비어 있었고"},
                         {"gen", "2", "1", "하늘과 땅이 다 이루어지니라"},
                         {"jhn", "3", "16", "하나님께서 세상을 사랑하사"}};
    s.versions["VRC"] = {
        {"gen", "1", "1", "처음에"}, {"gen", "1", "3-5", "빛이 있어라"}, {"gen", "1", "6", "궁창"}};
    s.versions["KJV"] = {{"gen", "1", "1", "{H}The Creation{/H}In the beginning"},
                         {"gen", "1", "2", "Aaron's {F VAL=I}rod{/F}"}};
    s.titles["VRA"] = {{"gen", "천지 창조 [1:1]"}, {"jhn", "니고데모 [3:1]"}};
    s.related = {{"jhn", "3", "16", "{A TAR=BVRAgen001001}창 1:1{/A}"}};
    s.articles["ETC"] = {{"E일러두기", "{H}일러두기{/H}{B}본문"}};
    return s;
}
