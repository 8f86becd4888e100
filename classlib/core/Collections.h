// Collections of the class library: a list that owns its items, each item
// knowing its collection and its index.
#pragma once

#include "Components.h"

#include <functional>
#include <vector>

class TCollection;

class TCollectionItem : public TPersistent {
public:
  // The item joins the collection (which then owns it) when one is given.
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCollection* GetCollection() const { return FCollection; }
  // Moves the item to another collection (or none: the caller owns it then).
  void SetCollection(TCollection* Value);
  int GetIndex() const;
  void SetIndex(int Value);
  int GetID() const { return FID; }
  virtual String GetDisplayName() const;

protected:
  // Tells the collection that this item (or, with AllItems, every item) changed.
  void Changed(bool AllItems);
  String ClassName() const override { return "TCollectionItem"; }

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
  // The factory makes one item that joins the given collection.
  explicit TCollection(TItemFactory ItemFactory);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  // Raises EListError ("List index out of bounds (%d)").
  TCollectionItem* GetItem(int Index) const;
  TCollectionItem* FindItemID(int ID) const;

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int GetUpdateCount() const { return FUpdateCount; }

  // Copies the items of another collection through the items' Assign.
  void Assign(const TPersistent* Source) override;

  virtual TPersistent* GetOwner() const { return nullptr; }

protected:
  // Item is the changed item, or none when the whole collection changed.
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  void Changed();
  String ClassName() const override { return "TCollection"; }

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TItemFactory FItemFactory;
  std::vector<TCollectionItem*> FItems;
  int FNextID = 0;
  int FUpdateCount = 0;
  int FAdding = 0; // items being made by Add, announced once they are whole
};

// A collection of one item class, with typed access.
template <typename T> class TTypedCollection : public TCollection {
public:
  TTypedCollection() : TCollection([](TCollection* c) -> TCollectionItem* { return new T(c); }) {}
  T* Add() { return static_cast<T*>(TCollection::Add()); }
  T* GetItem(int Index) const { return static_cast<T*>(TCollection::GetItem(Index)); }
  T* operator[](int Index) const { return GetItem(Index); }
};
