#include "richtext/markupnode.h"

namespace qel {

MarkupAttribute::~MarkupAttribute() {
    // Unchain iteratively: a tag with very many attributes must not exhaust the stack.
    std::unique_ptr<MarkupAttribute> rest = std::move(next);
    while (rest)
        rest = std::move(rest->next);
}

MarkupNode::~MarkupNode() {
    if (prev_)
        prev_->next_ = next_;
    if (next_)
        next_->prev_ = prev_;
    if (owner_) {
        if (owner_->head_ == this)
            owner_->head_ = next_;
        if (owner_->tail_ == this)
            owner_->tail_ = prev_;
        --owner_->size_;
    }
}

void MarkupNode::addAttribute(std::string name, std::string value) {
    auto attribute = std::make_unique<MarkupAttribute>(std::move(name), std::move(value));
    attribute->next = std::move(attributes_);
    attributes_ = std::move(attribute);
    hasAttributes = true;
}

const std::string* MarkupNode::attribute(std::string_view name) const {
    for (const MarkupAttribute* a = attributes_.get(); a; a = a->next.get())
        if (a->name == name)
            return &a->value;
    return nullptr;
}

void MarkupNode::setSelection(int startX, int endX) {
    selectStartX = startX;
    selectEndX = endX;
    if (endX == kSelectToEnd)
        selectEndOffset = static_cast<std::int32_t>(text.size());
    selected = true;
}

MarkupNodeList::MarkupNodeList(MarkupNodeList&& other) noexcept {
    adopt(other);
}

MarkupNodeList& MarkupNodeList::operator=(MarkupNodeList&& other) noexcept {
    if (this != &other) {
        clear();
        adopt(other);
    }
    return *this;
}

void MarkupNodeList::adopt(MarkupNodeList& other) noexcept {
    head_ = other.head_;
    tail_ = other.tail_;
    size_ = other.size_;
    other.head_ = other.tail_ = nullptr;
    other.size_ = 0;
    for (MarkupNode* n = head_; n; n = n->next_)
        n->owner_ = this;
}

MarkupNode* MarkupNodeList::append(std::unique_ptr<MarkupNode> node) {
    if (!node || node->GetID() == MarkupNode::kUnknown)
        return nullptr;
    if (node->owner_) // already listed somewhere: the caller must not hand it over twice
        return nullptr;
    MarkupNode* n = node.release();
    n->owner_ = this;
    n->prev_ = tail_;
    n->next_ = nullptr;
    if (tail_)
        tail_->next_ = n;
    else
        head_ = n;
    tail_ = n;
    ++size_;
    return n;
}

MarkupNode* MarkupNodeList::insertAfter(MarkupNode* position, std::unique_ptr<MarkupNode> node) {
    if (!position || position->owner_ != this)
        return append(std::move(node));
    if (!node || node->GetID() == MarkupNode::kUnknown || node->owner_)
        return nullptr;
    MarkupNode* n = node.release();
    n->owner_ = this;
    n->prev_ = position;
    n->next_ = position->next_;
    if (position->next_)
        position->next_->prev_ = n;
    else
        tail_ = n;
    position->next_ = n;
    ++size_;
    return n;
}

void MarkupNodeList::clear() {
    while (head_)
        delete head_; // the destructor moves head_ on
}

std::optional<std::string> findAttribute(const MarkupNode* node, char id, std::string_view name) {
    for (; node; node = node->prev())
        if (node->GetID() == id)
            if (const std::string* value = node->attribute(name))
                return *value;
    return std::nullopt;
}

std::optional<std::string> linkTarget(const MarkupNode* node) {
    if (!node)
        return std::nullopt;
    for (const MarkupNode* n = node->prev(); n; n = n->prev())
        if (n->GetID() == 'A') {
            if (const std::string* value = n->attribute("TAR"))
                return *value;
            return std::nullopt;
        }
    return std::nullopt;
}

bool follows(const MarkupNode* a, const MarkupNode* b) {
    if (!a || !b)
        return false;
    for (const MarkupNode* n = b->next(); n; n = n->next())
        if (n == a)
            return true;
    return false;
}

void mergeWithNext(MarkupNode* node) {
    if (!node || !node->next())
        return;
    MarkupNode* following = node->next();
    node->text += following->text;
    delete following;
}

MarkupNode* splitAt(MarkupNode* node, std::size_t offset) {
    if (!node || !node->owner() || offset == 0 || offset >= node->text.size())
        return nullptr;
    auto rest = std::make_unique<MarkupNode>(MarkupNode::kText, node->text.substr(offset));
    node->text.resize(offset);
    return node->owner()->insertAfter(node, std::move(rest));
}

} // namespace qel
