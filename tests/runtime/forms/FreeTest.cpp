// Freeing components: BeforeDestruction runs while the whole object exists,
// whichever way a form goes.

#include "SampleForms.h"

#include <QCoreApplication>
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// What a destroy handler saw of its form.
struct Sighting {
    QString name;
    bool whole = false; // still the derived class
    bool destroying = false; // already marked as going
    QString calls; // a member of the derived class, readable
};

TNotifyEvent recorder(QList<Sighting>& seen)
{
    return TNotifyEvent::Of([&seen](TObject* sender) {
        auto* sample = qobject_cast<TfrmSample*>(sender);
        auto* form = qobject_cast<TForm*>(sender);
        seen.append({sender->objectName(), sample != nullptr, form && form->IsDestroying(),
            sample ? sample->Calls.join(',') : QString()});
    });
}

class FreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterSampleForms(); }
    TfrmSample* sample(TComponent* owner, const QString& name)
    {
        auto* form = CreateForm<TfrmSample>(owner);
        form->SetName(name);
        form->Calls << name + "-data";
        form->SetOnDestroy(recorder(seen));
        return form;
    }
    QList<Sighting> seen;
};

} // namespace

TEST_F(FreeTest, FreeRaisesOnDestroyOnTheWholeForm)
{
    TfrmSample* form = sample(nullptr, "frmOne");
    QPointer<TEdit> edit(form->edCode);
    form->Free();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].whole);
    EXPECT_TRUE(seen[0].destroying);
    EXPECT_EQ(seen[0].calls, "frmOne-data");
    EXPECT_TRUE(edit.isNull());

    // FreeAndNil clears the pointer and takes null quietly.
    TfrmSample* other = sample(nullptr, "frmTwo");
    FreeAndNil(other);
    EXPECT_EQ(other, nullptr);
    FreeAndNil(other);
    EXPECT_EQ(seen.size(), 2);

    // A form held by a unique_ptr that frees.
    {
        std::unique_ptr<TfrmSample, FreeComponent> held(sample(nullptr, "frmHeld"));
    }
    ASSERT_EQ(seen.size(), 3);
    EXPECT_TRUE(seen[2].whole);
    EXPECT_EQ(seen[2].calls, "frmHeld-data");
}

// An owner frees its forms through BeforeDestruction, last created first.
TEST_F(FreeTest, OwnerFreesItsFormsWhole)
{
    auto owner = std::make_unique<TComponent>();
    sample(owner.get(), "frmFirst");
    sample(owner.get(), "frmSecond");
    owner.reset();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].name, "frmSecond");
    EXPECT_EQ(seen[1].name, "frmFirst");
    EXPECT_TRUE(seen[0].whole && seen[1].whole);
    EXPECT_EQ(seen[1].calls, "frmFirst-data");
}

// A destroy handler that frees another component of the same owner, or takes
// itself from its owner, leaves the owner's list sound.
TEST_F(FreeTest, HandlersMayFreeOrTakeComponentsWhileTheOwnerGoes)
{
    auto owner = std::make_unique<TComponent>();
    TfrmSample* first = sample(owner.get(), "frmFirst");
    QPointer<TfrmSample> watchFirst(first);
    TfrmSample* second = sample(owner.get(), "frmSecond");
    second->SetOnDestroy(TNotifyEvent::Of([first](TObject*) { first->Free(); }));
    auto keeper = std::make_unique<TComponent>();
    TfrmSample* third = sample(owner.get(), "frmThird");
    QPointer<TfrmSample> watchThird(third);
    TComponent* keeperPtr = keeper.get();
    third->SetOnDestroy(
        TNotifyEvent::Of([third, keeperPtr](TObject*) { keeperPtr->InsertComponent(third); }));
    owner.reset();
    EXPECT_TRUE(watchFirst.isNull());
    ASSERT_FALSE(watchThird.isNull()) << "a component handed to another owner lives on";
    EXPECT_EQ(third->Owner(), keeperPtr);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].name, "frmFirst");
    EXPECT_TRUE(seen[0].whole);
}

// A deferred delete, however it was asked for, is a Free.
TEST_F(FreeTest, DeferredDeleteRaisesOnDestroyWhenTheFormGoes)
{
    TfrmSample* released = sample(nullptr, "frmReleased");
    QPointer<TfrmSample> watch(released);
    released->Release();
    EXPECT_TRUE(seen.isEmpty()) << "the form still exists until the event loop frees it";
    TfrmSample* later = sample(nullptr, "frmLater");
    later->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[0].whole && seen[1].whole);

    // Deleted outright, only the TForm part is left when OnDestroy comes.
    TfrmSample* deleted = sample(nullptr, "frmDeleted");
    delete deleted;
    ASSERT_EQ(seen.size(), 3);
    EXPECT_FALSE(seen[2].whole);
}
