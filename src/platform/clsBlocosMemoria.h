#pragma once
// Memory for the fixed-size blocks of a growing store (a recordset's columns and text pool). The
// first 2 MB of blocks come from the ordinary heap, so a small or middling result costs no more
// than its blocks; the later ones are cut from regions of 2 MB that the kernel may back with huge
// pages, so a large result is not slowed down by one page fault every 4 KB while it fills, and a
// store holds at most one region more than it uses once it already holds 2 MB.
#include <cstddef>
#include <memory>
#include <vector>

class clsBlocosMemoria {
public:
    explicit clsBlocosMemoria(size_t tamBloco) : tamBloco(tamBloco) {}
    clsBlocosMemoria(clsBlocosMemoria&& o) noexcept;
    clsBlocosMemoria& operator=(clsBlocosMemoria&& o) noexcept;
    ~clsBlocosMemoria();

    // A new block of `tamBloco` bytes, uninitialised, owned here until clear().
    char* Novo();
    // Frees every block.
    void clear();
    // Takes the blocks of another store of the same block size (the other is left empty).
    void Anexar(clsBlocosMemoria&& outro);

private:
    struct Regiao {
        char* base = nullptr;
        size_t tamanho = 0;
    };
    void Liberar();

    size_t tamBloco;
    std::vector<std::unique_ptr<char[]>> doHeap;
    std::vector<Regiao> regioes;
    size_t livresNaRegiao = 0; // blocks still free at the end of the last region
};
