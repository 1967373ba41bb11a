// SPDX-License-Identifier: MIT

#include "navi/stopcheck.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <vector>

using namespace moravelt;

namespace {

struct Keyed
{
    std::uint32_t key;
    std::uint32_t place; // where it stood before the sort
};

// Few keys, so that most items tie and stability shows.
std::vector<Keyed> shuffled(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    const auto size = std::size_t(count);
    std::vector<Keyed> items(size);
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = {random.bounded(50U), std::uint32_t(i)};
    return items;
}

bool sameItems(const std::vector<Keyed>& a, const std::vector<Keyed>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Keyed& x, const Keyed& y) {
        return x.key == y.key && x.place == y.place;
    });
}

} // namespace

class TestStopCheck : public QObject
{
    Q_OBJECT
private slots:
    void sortsLikeStableSort_data();
    void sortsLikeStableSort();
    void aSetFlagEndsSortAndMerge();
};

void TestStopCheck::sortsLikeStableSort_data()
{
    QTest::addColumn<int>("count");
    // Around the sorted runs' length, an odd number of runs, and more merged items than the
    // flag's polling interval.
    for (const int count : {0, 1, 4095, 4096, 4097, 3 * 4096 + 17, 70'000, 200'003})
        QTest::addRow("%d", count) << count;
}

void TestStopCheck::sortsLikeStableSort()
{
    QFETCH(int, count);
    const auto byKey = [](const Keyed& a, const Keyed& b) { return a.key < b.key; };
    std::vector<Keyed> expected = shuffled(count, quint32(count) + 1);
    std::vector<Keyed> watched = expected;
    std::vector<Keyed> unwatched = expected;
    std::stable_sort(expected.begin(), expected.end(), byKey);
    const std::atomic<bool> stop{false};
    StopCheck watching(&stop);
    QVERIFY(stoppableStableSort(watched, byKey, watching));
    QVERIFY(sameItems(watched, expected));
    StopCheck none;
    QVERIFY(stoppableStableSort(unwatched, byKey, none));
    QVERIFY(sameItems(unwatched, expected));
}

void TestStopCheck::aSetFlagEndsSortAndMerge()
{
    // Set before: nothing is done.
    std::atomic<bool> stop{true};
    std::vector<Keyed> items = shuffled(10, 1);
    std::uint64_t compared = 0;
    const auto byKey = [&compared](const Keyed& a, const Keyed& b) {
        ++compared;
        return a.key < b.key;
    };
    StopCheck before(&stop);
    QVERIFY(!stoppableStableSort(items, byKey, before));
    QCOMPARE(compared, std::uint64_t(0));
    std::vector<Keyed> merged(items.size());
    QVERIFY(!stoppableMerge(items.data(), items.data() + 5, items.data() + 5,
                            items.data() + items.size(), merged.data(), byKey, before));

    // Set from another thread while it sorts (here from the comparison itself): it stops
    // within one polling interval of comparisons, far short of the whole sort.
    stop = false;
    items = shuffled(1'000'000, 2);
    compared = 0;
    const auto settingByKey = [&](const Keyed& a, const Keyed& b) {
        if (++compared == 100'000)
            stop = true;
        return a.key < b.key;
    };
    StopCheck during(&stop);
    QVERIFY(!stoppableStableSort(items, settingByKey, during));
    QVERIFY2(compared < 100'000 + 65'536 * 2, QByteArray::number(qulonglong(compared)));
}

QTEST_GUILESS_MAIN(TestStopCheck)
#include "tst_stopcheck.moc"
