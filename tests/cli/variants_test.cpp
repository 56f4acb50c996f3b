// bagsolve's comparison and JSON against an independent reference: random problems, with the
// numbers the item lines can hold at their extremes, solved by trying every subset.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "tests/cli/bagsolverun.h"
#include "tests/oracle/bestvalue.h"

namespace {

struct Item {
  std::int64_t weight;
  std::int64_t value;
};

struct Problem {
  std::int64_t slotLimit = 0;
  std::int64_t maxWeight = 0;
  std::vector<Item> items;

  QByteArray Text() const {
    QByteArray text = QByteArray::number(static_cast<qlonglong>(items.size())) + "\n" +
                      QByteArray::number(slotLimit) + "\n" + QByteArray::number(maxWeight) + "\n";
    for (const Item& item : items) {
      text += QByteArray::number(item.weight) + "," + QByteArray::number(item.value) + "\n";
    }
    return text;
  }
};

// The best value over every subset within both limits; nothing when no subset fits. A slot
// limit below 0 leaves the empty set, as 0 does.
std::optional<std::int64_t> BestValueByBruteForce(const Problem& problem) {
  std::vector<bagfunc::Item> items;
  for (const Item& item : problem.items) {
    items.push_back(
        {static_cast<std::int32_t>(item.weight), static_cast<std::int32_t>(item.value)});
  }
  const std::vector<oracle::BestAnswer> bySlots =
      oracle::BestBySlotLimitTryingAll(items, problem.maxWeight);
  const auto limit = std::clamp<std::int64_t>(problem.slotLimit, 0, std::ssize(items));
  const oracle::BestAnswer& best = bySlots[static_cast<std::size_t>(limit)];
  return best.feasible ? std::optional(best.value) : std::nullopt;
}

Problem RandomProblem(std::mt19937& random) {
  const std::int64_t kExtremes[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
  auto number = [&](int low, int high) {
    if (random() % 4 == 0) return kExtremes[random() % std::size(kExtremes)];
    return static_cast<std::int64_t>(std::uniform_int_distribution<int>(low, high)(random));
  };
  Problem problem;
  const int n = static_cast<int>(random() % 11);
  problem.items.resize(static_cast<std::size_t>(n));
  for (Item& item : problem.items) {
    item.weight = number(-5, 30);
    item.value = number(-10, 40);
  }
  problem.slotLimit = std::uniform_int_distribution<int>(-1, n + 1)(random);
  problem.maxWeight = number(-3, 60);
  return problem;
}

// The keys of one JSON object as they stand in the text, in order.
QStringList KeysInOrder(const QByteArray& objectText) {
  QStringList keys;
  static const QRegularExpression key(QStringLiteral("\"([a-z_]+)\":"));
  for (const auto& match : key.globalMatch(QString::fromUtf8(objectText))) {
    keys << match.captured(1);
  }
  return keys;
}

const QStringList kSearchKeys = {"variant", "item_count", "slot_count", "max_weight",
                                 "items", "total_weight", "total_value"};
const QStringList kBestKeys =
    kSearchKeys + QStringList{"feasible", "upper_bound", "optimal", "seconds"};

// The pick is distinct items in range, ascending, and its totals are its real ones: 32-bit
// wrapped as the searches sum them, exact for the best packing.
void ExpectTotalsOfPick(const Problem& problem, const QJsonObject& object, bool exact) {
  std::int64_t weight = 0;
  std::int64_t value = 0;
  qint64 previous = 0;
  for (const QJsonValue& number : object["items"].toArray()) {
    const qint64 item = number.toInteger();
    ASSERT_GT(item, previous);
    ASSERT_LE(item, static_cast<qint64>(problem.items.size()));
    previous = item;
    weight += problem.items[static_cast<std::size_t>(item - 1)].weight;
    value += problem.items[static_cast<std::size_t>(item - 1)].value;
  }
  if (!exact) {
    weight = static_cast<std::int32_t>(static_cast<std::uint32_t>(weight));
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  EXPECT_EQ(object["total_weight"].toInteger(), weight);
  EXPECT_EQ(object["total_value"].toInteger(), value);
}

TEST(BagsolveVariants, JsonAndComparisonAgreeWithEverySubset) {
  std::mt19937 random(20230301);
  const QStringList names = {"solve", "max", "max1", "best"};
  for (int round = 0; round < 60; ++round) {
    const Problem problem = RandomProblem(random);
    SCOPED_TRACE(problem.Text().toStdString());
    const ProcessResult json = Bagsolve({"--compare", "--json"}, problem.Text());
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QList<QByteArray> lines = json.out.split('\n');
    ASSERT_EQ(lines.size(), 7);  // "[", four objects, "]", and nothing after the last break
    const QJsonArray objects = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(objects.size(), 4);

    const QJsonObject best = objects[3].toObject();
    const std::optional<std::int64_t> expected = BestValueByBruteForce(problem);
    EXPECT_EQ(best["feasible"].toBool(), expected.has_value());
    EXPECT_EQ(best["total_value"].toInteger(), expected.value_or(0));
    EXPECT_EQ(best["upper_bound"].toInteger(), expected.value_or(0));
    EXPECT_TRUE(best["optimal"].toBool());
    EXPECT_LE(best["items"].toArray().size(), std::max<std::int64_t>(problem.slotLimit, 0));
    if (expected) {
      EXPECT_LE(best["total_weight"].toInteger(), problem.maxWeight);
    }

    const ProcessResult table = Bagsolve({"--compare"}, problem.Text());
    ASSERT_EQ(table.exitCode, 0);
    const QList<QByteArray> rows = table.out.split('\n').mid(6 + problem.items.size() + 1, 4);
    ASSERT_EQ(rows.size(), 4);
    for (int v = 0; v < 4; ++v) {
      const QJsonObject object = objects[v].toObject();
      EXPECT_EQ(object["variant"].toString(), names[v]);
      EXPECT_EQ(KeysInOrder(lines[v + 1]), v == 3 ? kBestKeys : kSearchKeys);
      EXPECT_EQ(object["item_count"].toInteger(), static_cast<qint64>(problem.items.size()));
      EXPECT_EQ(object["slot_count"].toInteger(), problem.slotLimit);
      EXPECT_EQ(object["max_weight"].toInteger(), problem.maxWeight);
      ExpectTotalsOfPick(problem, object, v == 3);

      // The table line says what the object says; the share within rounding of the quotient.
      const QList<QByteArray> fields = rows[v].split('\t');
      ASSERT_EQ(fields.size(), 5) << rows[v].toStdString();
      EXPECT_EQ(fields[0], names[v].toUtf8());
      EXPECT_EQ(fields[1].toLongLong(), object["total_value"].toInteger());
      EXPECT_EQ(fields[2].toLongLong(), object["total_weight"].toInteger());
      EXPECT_EQ(fields[3].toLongLong(), object["items"].toArray().size());
      const qint64 bestValue = best["total_value"].toInteger();
      if (bestValue <= 0) {
        EXPECT_EQ(fields[4], "-");
      } else {
        ASSERT_TRUE(fields[4].endsWith('%')) << fields[4].toStdString();
        const double share = 100.0 * static_cast<double>(object["total_value"].toInteger()) /
                             static_cast<double>(bestValue);
        EXPECT_NEAR(fields[4].chopped(1).toDouble(), share, 0.05 + 1e-9);
        EXPECT_EQ(fields[4].indexOf('.'), fields[4].size() - 3);  // one decimal
      }

      // Alone, each variant gives what it gives in the comparison, the best pick included.
      const ProcessResult alone =
          Bagsolve({"--json", "--variant", names[v]}, problem.Text());
      ASSERT_EQ(alone.exitCode, 0);
      QJsonObject aloneObject = QJsonDocument::fromJson(alone.out).object();
      aloneObject.remove("seconds");
      QJsonObject compared = object;
      compared.remove("seconds");
      EXPECT_EQ(aloneObject, compared) << names[v].toStdString();
    }
  }
}

// Even weights in the millions that are the values, an odd weight limit, and one odd item
// worth less than its weight (so that no divisor of the weights or values settles it): the
// linear bound is the limit itself, which no pick reaches, and only a search through far more
// subsets than any limit here allows could show that none does.
QByteArray UnprovableProblem(int n) {
  std::mt19937 random(9);
  QByteArray items;
  std::int64_t sum = 3;
  for (int i = 1; i < n; ++i) {
    const int weight = 2 * std::uniform_int_distribution<int>(1'000'000, 2'000'000)(random);
    sum += weight;
    items += QByteArray::number(weight) + "," + QByteArray::number(weight) + "\n";
  }
  items += "3,1\n";
  return QByteArray::number(n) + "\n" + QByteArray::number(n) + "\n" +
         QByteArray::number(sum / 2 | 1) + "\n" + items;
}

TEST(BagsolveVariants, TimeLimitEndsTheSearchWithAValidPick) {
  const QByteArray problem = UnprovableProblem(300);
  const ProcessResult json = Bagsolve({"--variant", "best", "--json", "--time-limit", "0.3"},
                                      problem);
  EXPECT_EQ(json.exitCode, 0);  // reaching the limit is no failure
  EXPECT_TRUE(json.err.isEmpty());
  const QJsonObject best = QJsonDocument::fromJson(json.out).object();
  EXPECT_FALSE(best["optimal"].toBool());
  EXPECT_TRUE(best["feasible"].toBool());
  EXPECT_GE(best["seconds"].toDouble(), 0.3);
  EXPECT_LT(best["seconds"].toDouble(), 9.0);
  EXPECT_LT(best["total_value"].toInteger(), best["upper_bound"].toInteger());
  EXPECT_LE(best["total_weight"].toInteger(), problem.split('\n')[2].toLongLong());

  const ProcessResult text = Bagsolve({"--variant", "best", "--time-limit=.3"}, problem);
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.endsWith("\n未证明为最优解Not Proven Optimal\n"));
}

}  // namespace
