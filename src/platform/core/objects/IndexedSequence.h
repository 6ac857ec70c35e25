#pragma once
// A sequence in which reading, inserting or erasing at any position, and finding the
// position of an element, each cost O(log n) however long it grows: a tree ordered by
// position, kept balanced by a random priority per node (a treap), each node counting
// the nodes below it. Every element also carries a weight whose sums the tree keeps, so
// the weight before a position costs O(log n) too.
//
// A node stays the same object while the sequence changes around it, so a pointer to it
// is a handle to its element until the element is erased.

#include <cstdint>
#include <utility>
#include <vector>

template <class T>
class TIndexedSequence {
public:
    class TNode {
    public:
        T Value;
        std::int64_t Weight() const { return FWeight; }

    private:
        friend class TIndexedSequence;
        TNode(T value, std::int64_t weight, std::uint32_t priority)
            : Value(std::move(value)), FWeight(weight), FWeightSum(weight), FPriority(priority)
        {
        }
        TNode* FLeft = nullptr;
        TNode* FRight = nullptr;
        TNode* FParent = nullptr;
        int FSize = 1;
        std::int64_t FWeight;
        std::int64_t FWeightSum; // of this node and every node below it
        std::uint32_t FPriority; // no child's is higher
    };

    TIndexedSequence() = default;
    TIndexedSequence(const TIndexedSequence& other) : FRoot(Clone(other.FRoot, nullptr)), FSeed(other.FSeed) {}
    TIndexedSequence& operator=(const TIndexedSequence&) = delete;
    ~TIndexedSequence() { Clear(); }

    int Count() const { return SizeOf(FRoot); }
    bool Empty() const { return FRoot == nullptr; }
    std::int64_t TotalWeight() const { return WeightOf(FRoot); }

    // The node at `index`, nullptr outside 0..Count()-1.
    TNode* At(int index) const
    {
        TNode* t = FRoot;
        while (t != nullptr) {
            const int left = SizeOf(t->FLeft);
            if (index < left) {
                t = t->FLeft;
            } else if (index == left) {
                return t;
            } else {
                index -= left + 1;
                t = t->FRight;
            }
        }
        return nullptr;
    }

    // The position of a node of this sequence.
    int IndexOf(const TNode* node) const
    {
        int index = SizeOf(node->FLeft);
        for (const TNode* t = node; t->FParent != nullptr; t = t->FParent) {
            if (t == t->FParent->FRight) {
                index += SizeOf(t->FParent->FLeft) + 1;
            }
        }
        return index;
    }

    // The sum of the weights of the elements before `index` (0..Count()).
    std::int64_t WeightBefore(int index) const
    {
        std::int64_t sum = 0;
        const TNode* t = FRoot;
        while (t != nullptr && index > 0) {
            const int left = SizeOf(t->FLeft);
            if (index <= left) {
                t = t->FLeft;
            } else {
                sum += WeightOf(t->FLeft) + t->FWeight;
                index -= left + 1;
                t = t->FRight;
            }
        }
        return sum;
    }

    // Inserts before the element at `index` (0..Count(); Count() appends).
    TNode* Insert(int index, T value, std::int64_t weight = 0)
    {
        TNode* node = new TNode(std::move(value), weight, NextPriority());
        auto [left, right] = Split(FRoot, index);
        FRoot = Merge(Merge(left, node), right);
        FRoot->FParent = nullptr;
        return node;
    }

    void Erase(TNode* node)
    {
        TNode* joined = Merge(node->FLeft, node->FRight);
        TNode* parent = node->FParent;
        if (joined != nullptr) {
            joined->FParent = parent;
        }
        if (parent == nullptr) {
            FRoot = joined;
        } else if (parent->FLeft == node) {
            parent->FLeft = joined;
        } else {
            parent->FRight = joined;
        }
        for (TNode* t = parent; t != nullptr; t = t->FParent) {
            Update(t);
        }
        delete node;
    }

    void SetWeight(TNode* node, std::int64_t weight)
    {
        node->FWeight = weight;
        for (TNode* t = node; t != nullptr; t = t->FParent) {
            Update(t);
        }
    }

    void Clear()
    {
        std::vector<TNode*> pending;
        if (FRoot != nullptr) {
            pending.push_back(FRoot);
        }
        while (!pending.empty()) {
            TNode* t = pending.back();
            pending.pop_back();
            if (t->FLeft != nullptr) {
                pending.push_back(t->FLeft);
            }
            if (t->FRight != nullptr) {
                pending.push_back(t->FRight);
            }
            delete t;
        }
        FRoot = nullptr;
    }

    // In order: First(), then Next() of each until nullptr.
    TNode* First() const
    {
        TNode* t = FRoot;
        while (t != nullptr && t->FLeft != nullptr) {
            t = t->FLeft;
        }
        return t;
    }
    static TNode* Next(const TNode* node)
    {
        if (node->FRight != nullptr) {
            TNode* t = node->FRight;
            while (t->FLeft != nullptr) {
                t = t->FLeft;
            }
            return t;
        }
        while (node->FParent != nullptr && node == node->FParent->FRight) {
            node = node->FParent;
        }
        return node->FParent;
    }

private:
    static int SizeOf(const TNode* t) { return t == nullptr ? 0 : t->FSize; }
    static std::int64_t WeightOf(const TNode* t) { return t == nullptr ? 0 : t->FWeightSum; }
    static void Update(TNode* t)
    {
        t->FSize = 1 + SizeOf(t->FLeft) + SizeOf(t->FRight);
        t->FWeightSum = t->FWeight + WeightOf(t->FLeft) + WeightOf(t->FRight);
    }

    std::uint32_t NextPriority()
    {
        // xorshift32: the balance needs spread, not secrecy.
        FSeed ^= FSeed << 13;
        FSeed ^= FSeed >> 17;
        FSeed ^= FSeed << 5;
        return FSeed;
    }

    // The first `count` nodes of `t` and the rest, each a tree of its own.
    static std::pair<TNode*, TNode*> Split(TNode* t, int count)
    {
        if (t == nullptr) {
            return {nullptr, nullptr};
        }
        if (count <= SizeOf(t->FLeft)) {
            auto [left, right] = Split(t->FLeft, count);
            t->FLeft = right;
            SetParent(right, t);
            SetParent(left, nullptr);
            Update(t);
            return {left, t};
        }
        auto [left, right] = Split(t->FRight, count - SizeOf(t->FLeft) - 1);
        t->FRight = left;
        SetParent(left, t);
        SetParent(right, nullptr);
        Update(t);
        return {t, right};
    }

    static void SetParent(TNode* child, TNode* parent)
    {
        if (child != nullptr) {
            child->FParent = parent;
        }
    }

    // The nodes of `a` followed by those of `b`; the caller sets the result's parent.
    static TNode* Merge(TNode* a, TNode* b)
    {
        if (a == nullptr) {
            return b;
        }
        if (b == nullptr) {
            return a;
        }
        if (a->FPriority > b->FPriority) {
            a->FRight = Merge(a->FRight, b);
            a->FRight->FParent = a;
            Update(a);
            return a;
        }
        b->FLeft = Merge(a, b->FLeft);
        b->FLeft->FParent = b;
        Update(b);
        return b;
    }

    static TNode* Clone(const TNode* t, TNode* parent)
    {
        if (t == nullptr) {
            return nullptr;
        }
        TNode* copy = new TNode(t->Value, t->FWeight, t->FPriority);
        copy->FParent = parent;
        copy->FLeft = Clone(t->FLeft, copy);
        copy->FRight = Clone(t->FRight, copy);
        Update(copy);
        return copy;
    }

    TNode* FRoot = nullptr;
    std::uint32_t FSeed = 0x9E3779B9u;
};
