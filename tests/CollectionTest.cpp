// SPDX-License-Identifier: MIT
// The collection classes: items in the order of adding, created empty by the collection
// and freed with it.
#include "platform/Collection.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace md5b64 {
namespace {

// An item that counts the live instances of its class, so that a test can see it freed.
class TCountedItem : public TCollectionItem {
public:
  TCountedItem() { ++Live; }
  ~TCountedItem() override { --Live; }

  static inline int Live = 0;
  std::string Name;
  int Number = 0;
};

class TOtherItem : public TCollectionItem {};

class CollectionTest : public testing::Test {
protected:
  void SetUp() override { TCountedItem::Live = 0; }

  // Adds items named after the letters of Names.
  static void AddNamed(TCollection& Collection, const std::string& Names) {
    for (const char C : Names)
      static_cast<TCountedItem&>(Collection.Add()).Name = std::string(1, C);
  }
  static std::string NamesOf(const TCollection& Collection) {
    std::string Names;
    for (std::size_t I = 0; I < Collection.Count(); ++I)
      Names += static_cast<TCountedItem&>(Collection.Items(I)).Name;
    return Names;
  }
};

TEST_F(CollectionTest, AddCreatesEmptyItemsOfTheItemClassInOrder) {
  TCollection Collection(TCollectionItemClass::Of<TCountedItem>());
  EXPECT_EQ(Collection.Count(), 0U);
  EXPECT_TRUE(Collection.ItemClass() == TCollectionItemClass::Of<TCountedItem>());
  EXPECT_FALSE(Collection.ItemClass() == TCollectionItemClass::Of<TOtherItem>());

  TCollectionItem& First = Collection.Add();
  auto* Counted = dynamic_cast<TCountedItem*>(&First);
  ASSERT_NE(Counted, nullptr);
  EXPECT_EQ(Counted->Name, "");
  EXPECT_EQ(Counted->Number, 0);
  EXPECT_EQ(First.Collection(), &Collection);
  EXPECT_EQ(First.Index(), 0U);

  AddNamed(Collection, "bcd");
  EXPECT_EQ(Collection.Count(), 4U);
  EXPECT_EQ(NamesOf(Collection), "bcd");
  EXPECT_EQ(Collection.Items(3).Index(), 3U);
  EXPECT_EQ(&Collection.Items(0), &First);
  EXPECT_EQ(TCountedItem::Live, 4);
}

TEST_F(CollectionTest, IndexOutsideTheListRaisesListError) {
  TCollection Collection(TCollectionItemClass::Of<TCountedItem>());
  AddNamed(Collection, "abc");
  try {
    Collection.Items(3);
    ADD_FAILURE() << "no error raised";
  } catch (const EListError& Error) {
    EXPECT_EQ(Error.Message(), "List index out of bounds (3)");
  }
  EXPECT_THROW(Collection.Delete(3), EListError);
  EXPECT_THROW(Collection.Items(static_cast<std::size_t>(-1)), EListError);
  EXPECT_EQ(Collection.Count(), 3U);

  // An item made outside a collection has no place in one.
  TCountedItem Loose;
  EXPECT_EQ(Loose.Collection(), nullptr);
  EXPECT_THROW(Loose.Index(), EListError);
}

TEST_F(CollectionTest, DeleteAndClearFreeItems) {
  TCollection Collection(TCollectionItemClass::Of<TCountedItem>());
  AddNamed(Collection, "abcde");
  Collection.Delete(1);
  EXPECT_EQ(NamesOf(Collection), "acde");
  EXPECT_EQ(Collection.Items(1).Index(), 1U);
  Collection.Delete(3);
  Collection.Delete(0);
  EXPECT_EQ(NamesOf(Collection), "cd");
  EXPECT_EQ(TCountedItem::Live, 2);
  Collection.Clear();
  EXPECT_EQ(Collection.Count(), 0U);
  EXPECT_EQ(TCountedItem::Live, 0);
  AddNamed(Collection, "x");
  EXPECT_EQ(NamesOf(Collection), "x");
}

TEST_F(CollectionTest, CollectionFreesItsItemsWithItself) {
  {
    TCollection Collection(TCollectionItemClass::Of<TCountedItem>());
    AddNamed(Collection, "abcdefgh");
    EXPECT_EQ(TCountedItem::Live, 8);
  }
  EXPECT_EQ(TCountedItem::Live, 0);
}

} // namespace
} // namespace md5b64
