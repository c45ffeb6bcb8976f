// Damages one resource of a copy of the Windows saver with the system's resource update functions,
// so that the failure tests run the real program rather than a special build:
//   resedit FILE TYPE ID delete            remove the resource
//   resedit FILE TYPE ID replace DATAFILE  put the bytes of DATAFILE in its place
//   resedit FILE TYPE ID save DATAFILE     write its present bytes to DATAFILE
// TYPE is BITMAP, DIALOG or a type name such as Shaders. Prints "done" or what failed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
LPCSTR TypeOf(const char* name)
{
    if (std::strcmp(name, "BITMAP") == 0)
        return MAKEINTRESOURCEA(2);
    if (std::strcmp(name, "DIALOG") == 0)
        return MAKEINTRESOURCEA(5);
    return name;
}

// The language the resource was stored with: the update must name the same one.
BOOL CALLBACK TakeLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found)
{
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// One resource of the module, copied out so that the module can be closed before the update.
struct Copied {
    std::vector<char> type, name; // a string, or empty with the integer in `typeId` / `nameId`
    WORD typeId = 0, nameId = 0, language = 0;
    std::vector<char> data;
};
struct Collection {
    HMODULE module;
    std::vector<Copied> all;
};

void Keep(std::vector<char>& text, WORD& id, LPCSTR value)
{
    if (IS_INTRESOURCE(value))
        id = LOWORD(reinterpret_cast<ULONG_PTR>(value));
    else
        text.assign(value, value + std::strlen(value) + 1);
}

LPCSTR Name(const std::vector<char>& text, WORD id)
{
    return text.empty() ? MAKEINTRESOURCEA(id) : text.data();
}

BOOL CALLBACK CollectLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR out)
{
    Collection& collection = *reinterpret_cast<Collection*>(out);
    Copied copied;
    Keep(copied.type, copied.typeId, type);
    Keep(copied.name, copied.nameId, name);
    copied.language = language;
    HRSRC found = FindResourceExA(module, type, name, language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (data != nullptr)
        copied.data.assign(data, data + SizeofResource(module, found));
    collection.all.push_back(copied);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR out)
{
    EnumResourceLanguagesA(module, type, name, CollectLanguage, out);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR out)
{
    EnumResourceNamesA(module, type, CollectName, out);
    return TRUE;
}

// Removing one resource: this Wine ignores a removal, so the file's resources are all written
// anew without it.
bool RemoveResource(const char* file, LPCSTR type, LPCSTR id)
{
    Collection collection{LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE), {}};
    if (collection.module == nullptr)
        return false;
    EnumResourceTypesA(collection.module, CollectType, reinterpret_cast<LONG_PTR>(&collection));
    FreeLibrary(collection.module);
    HANDLE update = BeginUpdateResourceA(file, TRUE);
    if (update == nullptr)
        return false;
    size_t dropped = 0;
    for (Copied& copied : collection.all) {
        const bool sameType = IS_INTRESOURCE(type) ? copied.type.empty() && copied.typeId == LOWORD(reinterpret_cast<ULONG_PTR>(type))
                                                   : !copied.type.empty() && lstrcmpiA(copied.type.data(), type) == 0;
        if (sameType && copied.name.empty() && copied.nameId == LOWORD(reinterpret_cast<ULONG_PTR>(id))) {
            ++dropped;
            continue;
        }
        if (!UpdateResourceA(update, Name(copied.type, copied.typeId), Name(copied.name, copied.nameId),
                             copied.language, copied.data.data(), static_cast<DWORD>(copied.data.size()))) {
            EndUpdateResourceA(update, TRUE);
            return false;
        }
    }
    return dropped == 1 && EndUpdateResourceA(update, FALSE);
}

bool ReadFileBytes(const char* path, std::vector<char>& bytes)
{
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || (std::strcmp(argv[4], "delete") != 0 && argc != 6)) {
        std::fprintf(stderr, "usage: see the comment at the top of ResEdit.cpp\n");
        return 2;
    }
    const char* file = argv[1];
    const LPCSTR type = TypeOf(argv[2]);
    const LPCSTR id = MAKEINTRESOURCEA(std::atoi(argv[3]));
    const char* action = argv[4];

    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        std::printf("cannot open %s\n", file);
        return 1;
    }
    WORD language = 0xFFFF;
    EnumResourceLanguagesA(module, type, id, TakeLanguage, reinterpret_cast<LONG_PTR>(&language));
    if (language == 0xFFFF) {
        std::printf("no such resource\n");
        FreeLibrary(module);
        return 1;
    }
    if (std::strcmp(action, "save") == 0) {
        HRSRC found = FindResourceA(module, id, type);
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        FILE* out = data ? std::fopen(argv[5], "wb") : nullptr;
        const bool saved = out != nullptr && std::fwrite(data, 1, SizeofResource(module, found), out) ==
                                                 SizeofResource(module, found);
        if (out != nullptr)
            std::fclose(out);
        FreeLibrary(module);
        std::printf(saved ? "done\n" : "cannot save\n");
        return saved ? 0 : 1;
    }
    FreeLibrary(module);

    if (std::strcmp(action, "delete") == 0) {
        const bool removed = RemoveResource(file, type, id);
        std::printf(removed ? "done\n" : "cannot remove\n");
        return removed ? 0 : 1;
    }
    std::vector<char> bytes;
    if (!ReadFileBytes(argv[5], bytes)) {
        std::printf("cannot read %s\n", argv[5]);
        return 1;
    }
    HANDLE update = BeginUpdateResourceA(file, FALSE);
    const bool updated =
        update != nullptr &&
        UpdateResourceA(update, type, id, language, bytes.data(), static_cast<DWORD>(bytes.size())) &&
        EndUpdateResourceA(update, FALSE);
    if (!updated && update != nullptr)
        EndUpdateResourceA(update, TRUE);
    std::printf(updated ? "done\n" : "cannot update\n");
    return updated ? 0 : 1;
}
