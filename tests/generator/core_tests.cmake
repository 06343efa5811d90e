kelmor_test(generator_core_tests SOURCES page_writer_test.cpp page_kinds_test.cpp page_target_test.cpp
    LIBS kelmor_generator)
# The menu's pictures found in a folder and the sprites made of them.
kelmor_test(menu_pictures_tests SOURCES menu_pictures_test.cpp menu_sprites_test.cpp
    LIBS kelmor_generator)
