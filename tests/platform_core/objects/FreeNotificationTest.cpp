// Free notifications among many components: random links made and dropped, then every
// component freed in a random order; each freed component tells exactly the ones still
// linked to it, the last linked first, and nothing else.

#include "platform/core/objects/Component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <utility>
#include <vector>

namespace {

using TTold = std::vector<std::pair<TComponent*, TComponent*>>; // (told, freed)

class TRecordingComponent : public TComponent {
    KP_CLASS(TRecordingComponent, TComponent)
public:
    explicit TRecordingComponent(TTold& told) : told_(told) {}

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove) {
            told_.emplace_back(this, c);
        }
    }

private:
    TTold& told_;
};

TEST(FreeNotification, RandomLinksTellExactlyTheLinkedOnesLastFirst)
{
    std::mt19937 rng(21);
    TTold told;
    std::vector<TComponent*> alive;
    for (int i = 0; i < 30; ++i) {
        alive.push_back(new TRecordingComponent(told));
    }
    std::map<TComponent*, std::vector<TComponent*>> partners; // in the order linked
    for (int step = 0; step < 3000; ++step) {
        TComponent* a = alive[rng() % alive.size()];
        TComponent* b = alive[rng() % alive.size()];
        if (rng() % 3 != 0) {
            a->FreeNotification(b);
            if (a != b && std::count(partners[a].begin(), partners[a].end(), b) == 0) {
                partners[a].push_back(b);
                partners[b].push_back(a);
            }
        } else {
            a->RemoveFreeNotification(b);
            std::erase(partners[a], b);
            std::erase(partners[b], a);
        }
    }
    std::shuffle(alive.begin(), alive.end(), rng);
    for (TComponent* freed : alive) {
        TTold expected;
        for (auto it = partners[freed].rbegin(); it != partners[freed].rend(); ++it) {
            expected.emplace_back(*it, freed);
            std::erase(partners[*it], freed);
        }
        told.clear();
        delete freed;
        ASSERT_EQ(expected, told);
    }
}

} // namespace
