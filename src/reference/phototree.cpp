#include "reference/topictrees.h"

namespace qel {
namespace {

constexpr RawTopic kEntries[] = {
    {-1, "", ""},
};

} // namespace

const TopicTable& photoTree() {
    static const TopicTable table = convertTopics(kEntries);
    return table;
}

} // namespace qel
