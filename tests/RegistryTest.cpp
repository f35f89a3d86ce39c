// SPDX-License-Identifier: MIT
// The coder registry: what start-up registers, lookup and creation by name, and that
// shutdown frees it. Each test starts and stops the modules itself and puts the
// process-wide objects back afterwards (TSavedModuleState).
#include "AllocationCounter.h"
#include "ModuleStateGuard.h"
#include "TestUtil.h"
#include "coders/CodingModules.h"
#include "coders/IdCoder.h"
#include "coders/IdCoderMessageDigest.h"
#include "coders/IdCoderOld.h"
#include "platform/Modules.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

namespace md5b64 {
namespace {

using test::ToHex;

class RegistryTest : public testing::Test {
protected:
  test::TStartedCodingModules Modules;
};

struct TExpectedEntry {
  TIdCoderClass CoderClass;
  std::uint8_t Direction;
  const char* MediaType;
  const char* TransferEncoding;
};

const TIdCoderClass IdCoder = CoderClassOf<TIdCoder>("TIdCoder");
const TIdCoderClass Md2 = CoderClassOf<TIdCoderMD2>("TIdCoderMD2");
const TIdCoderClass Md4 = CoderClassOf<TIdCoderMD4>("TIdCoderMD4");
const TIdCoderClass Md5 = CoderClassOf<TIdCoderMD5>("TIdCoderMD5");

const TExpectedEntry StartUpEntries[] = {
    {IdCoder, 0, "application/octet-stream", ""},
    {IdCoder, 128, "application/octet-stream", ""},
    {Md2, 0, "", "x-rsa-md2"},
    {Md2, 128, "", "x-rsa-md2"},
    {Md4, 0, "", "x-rsa-md4"},
    {Md4, 128, "", "x-rsa-md4"},
    {Md5, 0, "", "x-rsa-md5"},
    {Md5, 128, "", "x-rsa-md5"},
};

void ExpectEntry(const TIdCoderItem& Entry, const TExpectedEntry& Expected) {
  EXPECT_EQ(Entry.CoderClass().ClassName, Expected.CoderClass.ClassName);
  EXPECT_TRUE(Entry.CoderClass() == Expected.CoderClass);
  EXPECT_EQ(Entry.Direction(), Expected.Direction);
  EXPECT_EQ(Entry.Preference(), 0);
  EXPECT_EQ(Entry.MediaType(), Expected.MediaType);
  EXPECT_EQ(Entry.TransferEncoding(), Expected.TransferEncoding);
}

TEST_F(RegistryTest, StartUpRegistersTheEightEntriesInOrder) {
  ASSERT_NE(CoderRegistry, nullptr);
  EXPECT_EQ(CoderRegistry->RegisteredCount(), 8);
  ASSERT_EQ(CoderRegistry->Count(), 8U);
  for (std::size_t I = 0; I < 8; ++I) {
    SCOPED_TRACE(I + 1);
    ExpectEntry(CoderRegistry->Items(I), StartUpEntries[I]);
    EXPECT_EQ(CoderRegistry->Items(I).Index(), I);
    EXPECT_EQ(CoderRegistry->Items(I).Collection(), CoderRegistry.get());
  }
  EXPECT_THROW(CoderRegistry->Items(8), EListError);
}

TEST(RegistryStartUpTest, EachModuleMakesItsOwnRegistrations) {
  test::TSavedModuleState Saved;
  EXPECT_EQ(CoderRegistry, nullptr);
  // IdGlobal, IdCoderMIME and IdCoderOld: the registry holds the base coder's two entries.
  TModuleSequence FirstThree(CodingModules().first(3));
  FirstThree.Start();
  ASSERT_NE(CoderRegistry, nullptr);
  EXPECT_EQ(CoderRegistry->RegisteredCount(), 2);
  ExpectEntry(CoderRegistry->Items(1), StartUpEntries[1]);
  // The digest module adds its six to the same registry.
  InitializeIdCoderMessageDigest();
  EXPECT_EQ(CoderRegistry->RegisteredCount(), 8);
  ExpectEntry(CoderRegistry->Items(7), StartUpEntries[7]);
  FinalizeIdCoderMessageDigest();
  EXPECT_EQ(CoderRegistry->Count(), 8U);
  FirstThree.Stop();
  EXPECT_EQ(CoderRegistry, nullptr);

  // Starting the modules again after shutdown gives a fresh registry of eight.
  TModuleSequence All(CodingModules());
  All.Start();
  EXPECT_EQ(CoderRegistry->RegisteredCount(), 8);
  All.Stop();
}

TEST_F(RegistryTest, RegisteringAClassAgainAppendsAnEntry) {
  RegisterCoder(Md5, 0, 7, "application/x-test", "x-rsa-md5");
  EXPECT_EQ(CoderRegistry->RegisteredCount(), 9);
  ASSERT_EQ(CoderRegistry->Count(), 9U);
  for (std::size_t I = 0; I < 8; ++I)
    ExpectEntry(CoderRegistry->Items(I), StartUpEntries[I]);
  const TIdCoderItem& Added = CoderRegistry->Items(8);
  EXPECT_TRUE(Added.CoderClass() == Md5);
  EXPECT_EQ(Added.Preference(), 7);
  EXPECT_EQ(Added.MediaType(), "application/x-test");
  // The earlier entry is still the one found under the name.
  EXPECT_EQ(CoderRegistry->FindEntry("x-rsa-md5", 0), &CoderRegistry->Items(6));
  EXPECT_EQ(CoderRegistry->FindEntry("application/x-test", 0), &Added);
}

TEST_F(RegistryTest, FindEntryByNameAndDirection) {
  const struct {
    const char* Name;
    std::uint8_t Direction;
    int Index; // -1: none
  } Cases[] = {
      {"application/octet-stream", 0, 0},
      {"application/octet-stream", 128, 1},
      {"x-rsa-md2", 0, 2},
      {"x-rsa-md4", 128, 5},
      {"x-rsa-md5", 0, 6},
      {"x-rsa-md5", 128, 7},
      {"X-RSA-MD5", 0, 6},
      {"Application/Octet-Stream", 128, 1},
      {"x-rsa-md5", 1, -1},
      {"x-rsa-md6", 0, -1},
      {"x-rsa-md", 0, -1},
      {"base64", 0, -1},
      {"", 0, -1},
      {"", 128, -1},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << '"' << Case.Name << "\" " << int{Case.Direction});
    const TIdCoderItem* Found = CoderRegistry->FindEntry(Case.Name, Case.Direction);
    if (Case.Index < 0)
      EXPECT_EQ(Found, nullptr);
    else
      EXPECT_EQ(Found, &CoderRegistry->Items(static_cast<std::size_t>(Case.Index)));
  }
}

// The dynamic type of a coder; typeid on the dereferenced holder itself would be an expression
// with side effects to clang.
const std::type_info& TypeOfCoder(const TIdCoder& Coder) {
  return typeid(Coder);
}

TEST_F(RegistryTest, CreateRegisteredCoderMakesANewCoderOfTheClass) {
  const auto Md5Coder = CreateRegisteredCoder("x-rsa-md5", 0);
  ASSERT_NE(Md5Coder, nullptr);
  EXPECT_EQ(TypeOfCoder(*Md5Coder), typeid(TIdCoderMD5));
  EXPECT_EQ(ToHex(Md5Coder->FeedText("abc")), "");
  EXPECT_EQ(ToHex(Md5Coder->FinishInput().substr(2)), "900150983cd24fb0d6963f7d28e17f72");

  // Each call makes a coder of its own.
  const auto Other = CreateRegisteredCoder("x-rsa-md5", 128);
  EXPECT_NE(Other.get(), Md5Coder.get());
  EXPECT_EQ(TypeOfCoder(*Other), typeid(TIdCoderMD5));
  EXPECT_EQ(ToHex(Other->FinishInput().substr(2)), "d41d8cd98f00b204e9800998ecf8427e");

  const auto Md2Coder = CreateRegisteredCoder("x-rsa-md2", 0);
  EXPECT_EQ(TypeOfCoder(*Md2Coder), typeid(TIdCoderMD2));
  Md2Coder->FeedText("abc");
  EXPECT_EQ(ToHex(Md2Coder->FinishInput().substr(2)), "da853b0d3f88d99b30283a69e6ded6bb");

  const auto Md4Coder = CreateRegisteredCoder("X-Rsa-Md4", 128);
  EXPECT_EQ(TypeOfCoder(*Md4Coder), typeid(TIdCoderMD4));
  Md4Coder->FeedText("abc");
  EXPECT_EQ(ToHex(Md4Coder->FinishInput().substr(2)), "a448017aaf21d8525fc10ae87aa6729d");

  // The base class codes nothing: what goes in comes out.
  const auto Identity = CreateRegisteredCoder("application/octet-stream", 0);
  EXPECT_EQ(TypeOfCoder(*Identity), typeid(TIdCoder));
  Identity->FeedText("abc");
  EXPECT_EQ(Identity->FinishInput(), "0;abc");
}

TEST_F(RegistryTest, CreateRegisteredCoderFindsTheDigestsByTheirCommonNames) {
  const struct {
    const char* Name;
    const std::type_info& Type;
    const char* DigestOfAbc; // RFC 1319/1320/1321, appendix A.5
  } Cases[] = {
      {"MD5", typeid(TIdCoderMD5), "900150983cd24fb0d6963f7d28e17f72"},
      {"md5", typeid(TIdCoderMD5), "900150983cd24fb0d6963f7d28e17f72"},
      {"Md4", typeid(TIdCoderMD4), "a448017aaf21d8525fc10ae87aa6729d"},
      {"MD2", typeid(TIdCoderMD2), "da853b0d3f88d99b30283a69e6ded6bb"},
  };
  for (const auto& Case : Cases) {
    for (const std::uint8_t Direction : {std::uint8_t{0}, std::uint8_t{128}}) {
      SCOPED_TRACE(testing::Message() << Case.Name << " " << int{Direction});
      const auto Coder = CreateRegisteredCoder(Case.Name, Direction);
      ASSERT_NE(Coder, nullptr);
      EXPECT_EQ(TypeOfCoder(*Coder), Case.Type);
      Coder->FeedText("abc");
      EXPECT_EQ(ToHex(Coder->FinishInput().substr(2)), Case.DigestOfAbc);
    }
  }
  // Found, not added: the registry keeps its eight entries.
  ASSERT_EQ(CoderRegistry->Count(), 8U);
  for (std::size_t I = 0; I < 8; ++I)
    ExpectEntry(CoderRegistry->Items(I), StartUpEntries[I]);
}

TEST_F(RegistryTest, CreateRegisteredCoderWithAnOwner) {
  TComponent Owner;
  auto Coder = CreateRegisteredCoder("x-rsa-md4", 0, &Owner);
  EXPECT_EQ(Coder->Owner(), &Owner);
  ASSERT_EQ(Owner.ComponentCount(), 1U);
  // Handed over: the owner frees it.
  EXPECT_EQ(Owner.Components(0), Coder.release());
}

TEST_F(RegistryTest, UnknownNameIsAClearError) {
  const struct {
    const char* Name;
    std::uint8_t Direction;
    const char* Message;
  } Cases[] = {
      {"x-rsa-md6", 0, "No coder is registered as \"x-rsa-md6\" with direction 0."},
      {"x-rsa-md5", 64, "No coder is registered as \"x-rsa-md5\" with direction 64."},
      {"", 0, "No coder is registered as \"\" with direction 0."},
      // Common names are the digests' alone, and only in full.
      {"MD6", 0, "No coder is registered as \"MD6\" with direction 0."},
      {"md5", 64, "No coder is registered as \"md5\" with direction 64."},
      {"rsa-md5", 0, "No coder is registered as \"rsa-md5\" with direction 0."},
      {"octet-stream", 0, "No coder is registered as \"octet-stream\" with direction 0."},
  };
  for (const auto& Case : Cases) {
    try {
      CreateRegisteredCoder(Case.Name, Case.Direction);
      ADD_FAILURE() << "no error for " << Case.Name;
    } catch (const EIdException& Error) {
      EXPECT_EQ(Error.Message(), Case.Message);
    }
  }
}

TEST(RegistryAbsentTest, WithoutTheRegistryRegisteringAndCreatingRaise) {
  test::TSavedModuleState Saved;
  ASSERT_EQ(CoderRegistry, nullptr);
  for (int Round = 0; Round < 2; ++Round) {
    SCOPED_TRACE(Round == 0 ? "before start-up" : "after shutdown");
    try {
      RegisterCoder(Md5, 0, 0, "", "x-rsa-md5");
      ADD_FAILURE() << "no error raised";
    } catch (const EIdException& Error) {
      EXPECT_EQ(Error.Message(), "The coder registry has not been created.");
    }
    EXPECT_THROW(CreateRegisteredCoder("x-rsa-md5", 0), EIdException);
    EXPECT_THROW(InitializeIdCoderMessageDigest(), EIdException);
    TModuleSequence Modules(CodingModules());
    Modules.Start();
    Modules.Stop();
  }
}

TEST(RegistryCollectionTest, NewCollectionAndNewEntry) {
  TIdCoderCollection Collection;
  EXPECT_EQ(Collection.RegisteredCount(), 0);
  EXPECT_EQ(Collection.Count(), 0U);
  EXPECT_TRUE(Collection.ItemClass() == TCollectionItemClass::Of<TIdCoderItem>());
  TIdCoderItem& Entry = Collection.AddEntry();
  EXPECT_EQ(Collection.RegisteredCount(), 1);
  EXPECT_EQ(&Collection.Items(0), &Entry);
  EXPECT_EQ(Entry.Direction(), 0);
  EXPECT_EQ(Entry.Preference(), 0);
  EXPECT_EQ(Entry.MediaType(), "");
  EXPECT_EQ(Entry.TransferEncoding(), "");
  EXPECT_FALSE(Entry.CoderClass());
  EXPECT_EQ(Entry.CoderClass().ClassName, "");
  try {
    Entry.CreateCoder();
    ADD_FAILURE() << "no error raised";
  } catch (const EIdException& Error) {
    EXPECT_EQ(Error.Message(), "The coder registry entry has no coder class.");
  }
  // Found by its name, an entry whose class is unset still reports that rather than crash.
  Entry.SetTransferEncoding("x-none");
  EXPECT_EQ(Collection.FindEntry("x-none", 0), &Entry);
  EXPECT_THROW(Collection.FindEntry("x-none", 0)->CreateCoder(), EIdException);
}

TEST(RegistryShutdownTest, ShutdownFreesTheRegistryAndEveryEntry) {
  test::TSavedModuleState Saved;
  // One full cycle first, so that anything allocated once per process is already there.
  {
    TModuleSequence Modules(CodingModules());
    Modules.Start();
    Modules.Stop();
  }
  const std::int64_t Before = test::LiveAllocations();
  std::int64_t Started = 0;
  std::size_t Entries = 0;
  {
    TModuleSequence Modules(CodingModules());
    Modules.Start();
    Started = test::LiveAllocations();
    Entries = CoderRegistry->Count();
    Modules.Stop();
  }
  const std::int64_t After = test::LiveAllocations();
  EXPECT_EQ(Entries, 8U);
  // A memory checker such as valgrind puts its own operator new in place of the counting
  // one; it then reports leaks itself.
  if (Started == Before)
    GTEST_SKIP() << "allocations are not counted in this run";
  // The registry and its eight entries were allocated (the counter sees them) ...
  EXPECT_GE(Started - Before, 9);
  // ... and shutdown gave every block back.
  EXPECT_EQ(After, Before);
  EXPECT_EQ(CoderRegistry, nullptr);
}

} // namespace
} // namespace md5b64
