// Burst physics and the running-effect list, frame by frame on a set clock.
#include "HeadlessRound.h"
#include "PackFolder.h"
#include "RecordingSeams.h"

#include <BoardEffects.h>
#include <GameBoard.h>
#include <TilePack.h>
#include <ParticleEffect.h>

#include <kvApplication.h>

#include <gtest/gtest.h>

#include <cmath>
#include <stdlib.h>
#include <vector>

namespace {

// One frame of dt seconds, as the runtime's clock advances it.
void Tick(float dt)
{
    fElapsedTime = dt;
    fAppTime += dt;
}

CParticleEffect* Started(const BurstParameters& p)
{
    auto* e = new CParticleEffect;
    e->Start(p.budget, p.rate, p.direction, D3DXVECTOR3(1.0f, 2.0f, 3.0f), p.radius, p.speed,
             p.spread, p.life, p.gravity);
    return e;
}

struct FxTest : ::testing::Test {
    void SetUp() override
    {
        fAppTime = 0.0f;
        fElapsedTime = 0.0f;
        srand(7);
    }
};

TEST_F(FxTest, APathSparkMakesEightFourTwoAndOneInFramesOfATenth)
{
    CParticleEffect* spark = Started(PATH_SPARK);
    std::vector<DWORD> made;
    for (int frame = 0; frame < 5; ++frame) {
        const DWORD before = spark->emitted;
        Tick(0.1f);
        spark->Update();
        made.push_back(spark->emitted - before);
    }
    EXPECT_EQ((std::vector<DWORD>{8, 4, 2, 1, 0}), made);
    delete spark;
}

TEST_F(FxTest, APairExplosionIsMostlyOutInAQuarterSecondAndEndsItsLifeAfterTheLast)
{
    CParticleEffect* burst = Started(PAIR_EXPLOSION);
    const float dt = 1.0f / 60.0f;
    float lastBirth = -1.0f;
    int frames = 0;
    while (!burst->IsFinished() && frames < 600) {
        Tick(dt);
        burst->Update();
        ++frames;
        if (frames == 15) {
            EXPECT_GE(burst->emitted, 40u) << "after a quarter of a second";
        }
        if (lastBirth < 0.0f && burst->emitted == 50)
            lastBirth = fAppTime;
    }
    ASSERT_TRUE(burst->IsFinished());
    EXPECT_EQ(50u, burst->died);
    EXPECT_EQ(nullptr, burst->particles);
    EXPECT_GE(fAppTime - lastBirth, 0.6f);
    EXPECT_LE(fAppTime - lastBirth, 0.6f + 2 * dt);
    delete burst;
}

// Every particle leaves the ring inside the cone about the burst's direction, at two
// thirds of full speed or more, and falls under the burst's gravity.
TEST_F(FxTest, ParticlesFlyInsideTheConeOfTheirDirection)
{
    for (const BurstParameters* p : {&PAIR_EXPLOSION, &PATH_SPARK}) {
        CParticleEffect* e = Started(*p);
        Tick(0.1f);
        e->Update();
        ASSERT_NE(nullptr, e->particles);
        for (Particle* q = e->particles; q; q = q->next) {
            const D3DXVECTOR3& v = q->velocity;
            const float speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
            const float along = v.x * p->direction.x + v.y * p->direction.y + v.z * p->direction.z;
            EXPECT_GE(along, -1e-5f);
            EXPECT_GE(speed, p->speed * 2.0f / 3.0f - 1e-4f);
            EXPECT_LE(speed, p->speed + 1e-4f);
            const D3DXVECTOR3 offset = q->start - e->origin;
            EXPECT_NEAR(p->radius, std::hypot(offset.x, offset.z), 1e-5f);
        }
        Particle* oldest = e->particles;
        Tick(0.1f);
        e->Update();
        const float age = fAppTime - oldest->birthTime;
        EXPECT_NEAR(oldest->start.x + age * oldest->velocity.x, oldest->position.x, 1e-5f);
        EXPECT_NEAR(oldest->start.y + age * oldest->velocity.y - p->gravity * 0.5f * age * age,
                    oldest->position.y, 1e-5f);
        delete e;
    }
}

TEST_F(FxTest, FinishedEffectsLeaveTheListAndTheLastLeavesASentinelOnItsOwn)
{
    CEffectList list;
    EXPECT_TRUE(list.IsEmpty());
    CParticleEffect* longer = Started(PATH_SPARK);
    list.Push(Started(PAIR_EXPLOSION));
    list.Push(longer);
    EXPECT_EQ(longer, list.sentinel->nextEffect);
    int frames = 0;
    while (!list.IsEmpty() && frames < 100) {
        Tick(0.05f);
        list.UpdateAll();
        ++frames;
        // The explosion (life 0.6 s) ends before the spark (0.8 s).
        if (!list.IsEmpty() && list.sentinel->nextEffect->nextEffect == list.sentinel) {
            EXPECT_EQ(longer, list.sentinel->nextEffect);
        }
    }
    EXPECT_EQ(list.sentinel, list.sentinel->nextEffect);
    list.Push(Started(PATH_SPARK));
    list.DestroyAll();  // an effect still running goes with the list
    EXPECT_EQ(nullptr, list.sentinel);
}

// A link on a real board: two explosions at the removed cells, a spark per marked cell.
TEST_F(FxTest, ALinkOnTheBoardStartsItsBurstsAtTheCellsPlaces)
{
    PackFolder folder;
    folder.WriteList(60, {PARTNER_NAMES[0], PARTNER_NAMES[1]});
    CTilePack pack;
    pack.Load(folder.path.c_str(), nullptr);
    RecordingSeams recorder;
    CBoardEffects effects;
    CGameBoard board(EDITION_WINDOWED, BoardSeams{&recorder, &effects, &recorder});
    board.SetDifficulty(0, &pack);
    board.StartRound();
    HeadlessRound round(board, EDITION_WINDOWED, recorder);
    ASSERT_TRUE(round.PlayOnePair());
    std::vector<D3DXVECTOR3> removed;
    for (int i = 0; i < 64; ++i)
        if (board.cell[i].state == CELL_REMOVED)
            removed.push_back(CBoardEffects::BurstPosition(i % 8, i / 8));
    ASSERT_EQ(2u, removed.size());
    int explosions = 0, sparks = 0;
    for (CParticleEffect* e = effects.effects->sentinel->nextEffect;
         e != effects.effects->sentinel; e = e->nextEffect) {
        if (e->budget == PAIR_EXPLOSION.budget) {
            ++explosions;
            EXPECT_TRUE(e->origin == removed[0] || e->origin == removed[1]);
        } else {
            ++sparks;
            EXPECT_EQ(PATH_SPARK.budget, e->budget);
            EXPECT_EQ(PARTICLE_DEPTH, e->origin.z);
        }
    }
    EXPECT_EQ(2, explosions);
    EXPECT_GE(sparks, 2);  // at least the two ends of the path
}

}  // namespace
