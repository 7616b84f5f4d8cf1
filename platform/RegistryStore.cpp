// The registry store: keys and values in SQLite, looked up through indexes only.
#include "platform/RegistryStore.h"

#include <vector>

#include "platform/RegKeyPath.h"
#include "platform/RegistryDatabase.h"
#include "platform/RegistryEnumCache.h"
#include "platform/TextCase.h"

struct CRegistryStore::Impl {
  explicit Impl(std::string path) : db(std::move(path)) {}

  // Whether `key` still exists.
  Status Exists(RegKeyId key, bool* exists) {
    CSqliteQuery query(db.Sql().keyExists);
    return query.Bind(1, key).Step(exists);
  }
  // What a lookup below `key` that found nothing means: ERROR_KEY_DELETED when `key` itself
  // is gone, else `missing`.
  Status Missing(RegKeyId key, DWORD missing, std::string_view what) {
    bool exists = false;
    RETURN_IF_ERROR(Exists(key, &exists));
    return Status::Error(exists ? missing : ERROR_KEY_DELETED, std::string(what));
  }
  Status RequireKey(RegKeyId key) {
    bool exists = false;
    RETURN_IF_ERROR(Exists(key, &exists));
    return exists ? Status::Ok() : Status::Error(ERROR_KEY_DELETED);
  }
  Status FindChild(RegKeyId parent, std::string_view fold, RegKeyId* child, bool* found) {
    CSqliteQuery query(db.Sql().findChild);
    RETURN_IF_ERROR(query.Bind(1, parent).BindText(2, fold).Step(found));
    if (*found) *child = query.Int(0);
    return Status::Ok();
  }
  // The key at `parts` below `start`; ERROR_FILE_NOT_FOUND when a component is missing.
  Status Resolve(RegKeyId start, const std::vector<std::string_view>& parts, std::string_view path,
                 RegKeyId* key) {
    if (parts.empty()) RETURN_IF_ERROR(RequireKey(start));
    RegKeyId current = start;
    for (std::string_view part : parts) {
      bool found = false;
      RETURN_IF_ERROR(FindChild(current, AsciiUpper(part), &current, &found));
      if (!found) return Missing(start, ERROR_FILE_NOT_FOUND, path);
    }
    *key = current;
    return Status::Ok();
  }
  // Drops the enumeration positions when another connection has changed the database since
  // this one last looked. Runs inside a read, so the check and the lookup see one snapshot.
  Status ForgetForeignChanges() {
    CSqliteQuery query(db.Sql().dataVersion);
    bool row = false;
    RETURN_IF_ERROR(query.Step(&row));
    if (row && query.Int(0) != dataVersion) {
      anchors.Clear();
      dataVersion = query.Int(0);
    }
    return Status::Ok();
  }
  Status ChildAt(RegKeyId key, DWORD index, std::string* name, std::string* fold, bool* found);

  CRegistryDatabase db;
  CRegistryEnumCache anchors;
  std::int64_t dataVersion = -1;
};

namespace {

// One change of the store, rolled back unless committed; a rollback also forgets the
// enumeration positions, which may have been moved for changes that did not happen.
class CChangeScope {
 public:
  CChangeScope(CRegistryDatabase& db, CRegistryEnumCache& anchors) : m_db(db), m_anchors(anchors) {}
  ~CChangeScope() {
    if (!m_open) return;
    m_db.RollbackChange();
    m_anchors.Clear();
  }
  CChangeScope(const CChangeScope&) = delete;
  CChangeScope& operator=(const CChangeScope&) = delete;

  Status Begin() {
    RETURN_IF_ERROR(m_db.BeginChange());
    m_open = true;
    return Status::Ok();
  }
  Status Commit() {
    m_open = false;
    Status status = m_db.CommitChange();
    if (!status) m_anchors.Clear();
    return status;
  }

 private:
  CRegistryDatabase& m_db;
  CRegistryEnumCache& m_anchors;
  bool m_open = false;
};

// A read of several statements on one snapshot.
class CReadScope {
 public:
  explicit CReadScope(CRegistryDatabase& db) : m_db(db) {}
  ~CReadScope() { m_db.EndRead(); }
  CReadScope(const CReadScope&) = delete;
  CReadScope& operator=(const CReadScope&) = delete;
  Status Begin() { return m_db.BeginRead(); }

 private:
  CRegistryDatabase& m_db;
};

Status CheckValueName(std::string_view name) {
  if (name.size() > kMaxRegNameLength || name.find('\0') != std::string_view::npos)
    return Status::Error(ERROR_INVALID_PARAMETER, std::string(name));
  return Status::Ok();
}

}  // namespace

CRegistryStore::CRegistryStore(std::string dbPath) : m_impl(std::make_unique<Impl>(std::move(dbPath))) {}

CRegistryStore::~CRegistryStore() = default;

Status CRegistryStore::OpenKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  std::vector<std::string_view> parts;
  RETURN_IF_ERROR(SplitKeyPath(subPath, KeyPathUse::Open, &parts));
  return m_impl->Resolve(parent, parts, subPath, key);
}

Status CRegistryStore::CreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  std::vector<std::string_view> parts;
  RETURN_IF_ERROR(SplitKeyPath(subPath, KeyPathUse::Create, &parts));
  // Most creates find the key there already: that costs no write lock.
  if (m_impl->Resolve(parent, parts, subPath, key)) return Status::Ok();
  CChangeScope change(m_impl->db, m_impl->anchors);
  RETURN_IF_ERROR(change.Begin());
  RETURN_IF_ERROR(m_impl->RequireKey(parent));
  RegKeyId current = parent;
  for (std::string_view part : parts) {
    std::string fold = AsciiUpper(part);
    bool found = false;
    RETURN_IF_ERROR(m_impl->FindChild(current, fold, &current, &found));
    if (found) continue;
    CSqliteQuery insert(m_impl->db.Sql().insertKey);
    RETURN_IF_ERROR(insert.Bind(1, current).BindText(2, part).BindText(3, fold).Run());
    m_impl->anchors.OnSubkeyAdded(current, fold);
    current = m_impl->db.LastInsertId();
  }
  RETURN_IF_ERROR(change.Commit());
  *key = current;
  return Status::Ok();
}

Status CRegistryStore::CheckKey(RegKeyId key) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  return m_impl->RequireKey(key);
}

Status CRegistryStore::QueryValue(RegKeyId key, std::string_view name, RegValue* value) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  CSqliteQuery query(m_impl->db.Sql().getValue);
  bool found = false;
  RETURN_IF_ERROR(query.Bind(1, key).BindText(2, AsciiUpper(name)).Step(&found));
  if (!found) return m_impl->Missing(key, ERROR_FILE_NOT_FOUND, name);
  value->type = static_cast<DWORD>(query.Int(0));
  value->data = query.Blob(1);
  return Status::Ok();
}

Status CRegistryStore::SetValue(RegKeyId key, std::string_view name, const RegValue& value) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  RETURN_IF_ERROR(CheckValueName(name));
  CChangeScope change(m_impl->db, m_impl->anchors);
  RETURN_IF_ERROR(change.Begin());
  RETURN_IF_ERROR(m_impl->RequireKey(key));
  CSqliteQuery set(m_impl->db.Sql().setValue);
  RETURN_IF_ERROR(set.Bind(1, key)
                      .BindText(2, AsciiUpper(name))
                      .BindText(3, name)
                      .Bind(4, value.type)
                      .BindBlob(5, value.data)
                      .Run());
  return change.Commit();
}

Status CRegistryStore::Impl::ChildAt(RegKeyId key, DWORD index, std::string* name, std::string* fold,
                                     bool* found) {
  // Step from the last position when that is nearer than the start; from the start is the
  // same query with the lowest fold.
  const CRegistryEnumCache::Anchor* anchor = anchors.Find(key);
  bool backward = anchor && index < anchor->before && anchor->before - 1 - index < index;
  bool fromAnchor = anchor && index >= anchor->before;
  CSqliteQuery query(backward ? db.Sql().childBefore : db.Sql().childFrom);
  query.Bind(1, key);
  if (backward)
    query.BindText(2, anchor->fold).Bind(3, anchor->before - 1 - index);
  else if (fromAnchor)
    query.BindText(2, anchor->fold).Bind(3, index - anchor->before);
  else
    query.BindText(2, "").Bind(3, index);
  RETURN_IF_ERROR(query.Step(found));
  if (*found) {
    *name = query.Text(0);
    *fold = query.Text(1);
  }
  return Status::Ok();
}

Status CRegistryStore::EnumKey(RegKeyId key, DWORD index, std::string* name) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  CReadScope read(m_impl->db);
  RETURN_IF_ERROR(read.Begin());
  RETURN_IF_ERROR(m_impl->ForgetForeignChanges());
  std::string fold;
  bool found = false;
  RETURN_IF_ERROR(m_impl->ChildAt(key, index, name, &fold, &found));
  if (!found) return m_impl->Missing(key, ERROR_NO_MORE_ITEMS, {});
  m_impl->anchors.Set(key, std::move(fold), index);
  return Status::Ok();
}

Status CRegistryStore::EnumValue(RegKeyId key, DWORD index, std::string* name, RegValue* value) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  CSqliteQuery query(m_impl->db.Sql().valueAt);
  bool found = false;
  RETURN_IF_ERROR(query.Bind(1, key).Bind(2, index).Step(&found));
  if (!found) return m_impl->Missing(key, ERROR_NO_MORE_ITEMS, {});
  *name = query.Text(0);
  value->type = static_cast<DWORD>(query.Int(1));
  value->data = query.Blob(2);
  return Status::Ok();
}

Status CRegistryStore::DeleteKey(RegKeyId parent, std::string_view subPath) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  std::vector<std::string_view> parts;
  RETURN_IF_ERROR(SplitKeyPath(subPath, KeyPathUse::Open, &parts));
  // Without a child there is nothing to delete: the key itself, and so a root, never goes.
  if (parts.empty()) return Status::Error(ERROR_BADKEY, std::string(subPath));
  std::string fold = AsciiUpper(parts.back());
  parts.pop_back();
  CChangeScope change(m_impl->db, m_impl->anchors);
  RETURN_IF_ERROR(change.Begin());
  RegKeyId owner = 0;
  RETURN_IF_ERROR(m_impl->Resolve(parent, parts, subPath, &owner));
  RegKeyId child = 0;
  bool found = false;
  RETURN_IF_ERROR(m_impl->FindChild(owner, fold, &child, &found));
  if (!found) return m_impl->Missing(parent, ERROR_FILE_NOT_FOUND, subPath);
  RETURN_IF_ERROR(CSqliteQuery(m_impl->db.Sql().deleteTreeValues).Bind(1, child).Run());
  RETURN_IF_ERROR(CSqliteQuery(m_impl->db.Sql().deleteTreeKeys).Bind(1, child).Run());
  m_impl->anchors.OnSubkeyRemoved(owner, fold);
  return change.Commit();
}

Status CRegistryStore::DeleteValue(RegKeyId key, std::string_view name) {
  RETURN_IF_ERROR(m_impl->db.Ready());
  CChangeScope change(m_impl->db, m_impl->anchors);
  RETURN_IF_ERROR(change.Begin());
  RETURN_IF_ERROR(
      CSqliteQuery(m_impl->db.Sql().deleteValue).Bind(1, key).BindText(2, AsciiUpper(name)).Run());
  if (m_impl->db.Changes() == 0) return m_impl->Missing(key, ERROR_FILE_NOT_FOUND, name);
  return change.Commit();
}

Status CRegistryStore::BeginTransaction() {
  RETURN_IF_ERROR(m_impl->db.Ready());
  return m_impl->db.BeginTransaction();
}

Status CRegistryStore::CommitTransaction() {
  Status status = m_impl->db.CommitTransaction();
  if (!status) m_impl->anchors.Clear();
  return status;
}

void CRegistryStore::RollbackTransaction() {
  m_impl->db.RollbackTransaction();
  m_impl->anchors.Clear();
}

Status CRegistryStore::Sync() { return m_impl->db.Sync(); }
