# The fuzz harnesses and the libraries each needs. Shared by the libFuzzer
# build (fuzz/) and the replay tests (tests/fuzz/), which build a harness
# only once the libraries it drives exist.
set(TARQUELAS_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

set(TARQUELAS_FUZZ_HARNESSES text_lines validators template_cut printout voucher_report)
set(TARQUELAS_FUZZ_LIBS_text_lines tarquelas_support)
set(TARQUELAS_FUZZ_LIBS_validators tarquelas_declarations tarquelas_support)
set(TARQUELAS_FUZZ_LIBS_template_cut tarquelas_registry_printout tarquelas_support)
set(TARQUELAS_FUZZ_LIBS_printout tarquelas_registry_printout tarquelas_support)
set(TARQUELAS_FUZZ_LIBS_voucher_report tarquelas_voucher_report tarquelas_support)

# tarquelas_fuzz_available(NAME OUT): OUT is true when NAME's source and
# every library it needs are present.
function(tarquelas_fuzz_available name out)
  set(ok TRUE)
  if(NOT EXISTS ${TARQUELAS_FUZZ_DIR}/${name}_fuzzer.cpp)
    set(ok FALSE)
  endif()
  foreach(lib ${TARQUELAS_FUZZ_LIBS_${name}})
    if(NOT TARGET ${lib})
      set(ok FALSE)
    endif()
  endforeach()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()
