#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The parsed form of the program's markup: a flat doubly linked list of opening-tag,
// closing-tag and text nodes in document order. Texts are CP949 bytes.
namespace qel {

class MarkupNodeList;

struct MarkupAttribute {
    std::string name;
    std::string value;
    // Destroying an attribute destroys the rest of the chain after it.
    std::unique_ptr<MarkupAttribute> next;

    MarkupAttribute(std::string n, std::string v) : name(std::move(n)), value(std::move(v)) {}
    ~MarkupAttribute();
    MarkupAttribute(const MarkupAttribute&) = delete;
    MarkupAttribute& operator=(const MarkupAttribute&) = delete;
};

class MarkupNode {
public:
    static constexpr char kText = '.';
    static constexpr char kUnknown = '?';
    // Selection x positions meaning "from the start" and "to the end" of a piece.
    static constexpr int kSelectFromStart = 0;
    static constexpr int kSelectToEnd = 9999;

    explicit MarkupNode(char id) : id_(id) {}
    MarkupNode(char id, std::string text) : text(std::move(text)), id_(id) {}
    // Unlinks the node: its neighbours are joined and its list forgets it.
    ~MarkupNode();
    MarkupNode(const MarkupNode&) = delete;
    MarkupNode& operator=(const MarkupNode&) = delete;

    // Upper-case tag letter, the letter + 32 for a closing tag, '.' for a text run.
    char GetID() const { return id_; }
    bool isText() const { return id_ == kText; }

    MarkupNode* prev() const { return prev_; }
    MarkupNode* next() const { return next_; }
    MarkupNodeList* owner() const { return owner_; }

    // Attributes are kept newest first, so a name written twice finds the later value.
    void addAttribute(std::string name, std::string value);
    const MarkupAttribute* firstAttribute() const { return attributes_.get(); }
    const std::string* attribute(std::string_view name) const;

    // Stores the selected x range (kSelectFromStart / kSelectToEnd for the piece's edges).
    void setSelection(int startX, int endX);

    std::string text; // only text runs have text
    bool hasAttributes = false;

    // Box written by the layout, document coordinates.
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t bottom = 0;
    std::int32_t right = 0;
    std::int32_t lineAdvance = 0;

    // Selection written by the view; the offsets are computed when the piece is painted.
    bool selected = false;
    std::int32_t selectStartX = 0;
    std::int32_t selectEndX = 0;
    std::int32_t selectStartOffset = 0;
    std::int32_t selectEndOffset = 0;

private:
    friend class MarkupNodeList;

    char id_;
    std::unique_ptr<MarkupAttribute> attributes_;
    MarkupNode* prev_ = nullptr;
    MarkupNode* next_ = nullptr;
    MarkupNodeList* owner_ = nullptr;
};

// Owns its nodes. Node pointers stay valid until the node is destroyed (by clear, by
// mergeWithNext, or by deleting it).
class MarkupNodeList {
public:
    MarkupNodeList() = default;
    ~MarkupNodeList() { clear(); }
    MarkupNodeList(const MarkupNodeList&) = delete;
    MarkupNodeList& operator=(const MarkupNodeList&) = delete;
    MarkupNodeList(MarkupNodeList&& other) noexcept;
    MarkupNodeList& operator=(MarkupNodeList&& other) noexcept;

    MarkupNode* head() const { return head_; }
    MarkupNode* tail() const { return tail_; }
    bool empty() const { return head_ == nullptr; }
    std::size_t size() const { return size_; }

    // Takes the node; a node whose id is '?' is dropped. Returns the node kept, or null.
    MarkupNode* append(std::unique_ptr<MarkupNode> node);
    // Takes the node and links it right after `position`, which must be in this list.
    MarkupNode* insertAfter(MarkupNode* position, std::unique_ptr<MarkupNode> node);
    void clear();

private:
    friend class MarkupNode;
    void adopt(MarkupNodeList& other) noexcept;

    MarkupNode* head_ = nullptr;
    MarkupNode* tail_ = nullptr;
    std::size_t size_ = 0;
};

// From `node` backwards, the value of attribute `name` of the first node with id `id` that
// has one.
std::optional<std::string> findAttribute(const MarkupNode* node, char id, std::string_view name);

// The TAR of the nearest A tag before `node`.
std::optional<std::string> linkTarget(const MarkupNode* node);

// True when `a` comes after `b` in its list.
bool follows(const MarkupNode* a, const MarkupNode* b);

// Appends the next node's text to `node` and destroys the next node.
void mergeWithNext(MarkupNode* node);

// Splits a listed text run at a byte offset; the rest becomes a new text run right after
// it, which is returned. An offset at either end splits nothing and returns null.
MarkupNode* splitAt(MarkupNode* node, std::size_t offset);

} // namespace qel
