# Synthesises the interface sounds with sox.
#   cmake -DSOX=<sox> -DOUT=<media folder> -DWORK=<scratch folder> -P soundgen.cmake
# 00.mp3: a 16 s loop (four chords, soft pad and plucked arpeggio), starting and ending quietly
#         so that it can repeat without a click.
# 01.wav: start-up chime (rising plucked major arpeggio). 02.wav: page switch (short rising sweep).
# 03.wav: link click (two bright bell notes). 04.wav: button click (short soft tick).
cmake_minimum_required(VERSION 3.22)
foreach(v SOX OUT WORK)
    if(NOT ${v})
        message(FATAL_ERROR "soundgen: ${v} is not set")
    endif()
endforeach()
file(MAKE_DIRECTORY "${OUT}" "${WORK}")

function(sox)
    execute_process(COMMAND "${SOX}" -R ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "soundgen: sox ${ARGN} failed: ${err}")
    endif()
endfunction()

set(rate -r 44100)

# Short sounds: mono, 16 bit.
sox(${rate} -c 3 -n -b 16 "${WORK}/01.wav"
    synth 1.2 pluck C5 pluck E5 pluck G5 delay 0 0.11 0.22 remix - reverb 30 trim 0 1.2 fade 0 1.2 0.5 norm -3)
sox(${rate} -n -b 16 "${WORK}/02.wav"
    synth 0.12 sine 700-1400 fade q 0.01 0.12 0.06 norm -6)
sox(${rate} -c 2 -n -b 16 "${WORK}/03.wav"
    synth 0.45 pluck E6 pluck B6 delay 0 0.08 remix - fade 0 0.45 0.25 norm -5)
sox(${rate} -n -b 16 "${WORK}/04.wav"
    synth 0.04 sine 1800 fade q 0.002 0.04 0.035 norm -8)

# Background loop: Am - F - C - G, 4 s each.
set(chords
    "A3 C4 E4|A4 C5 E5 A5"
    "F3 A3 C4|F4 A4 C5 F5"
    "G3 C4 E4|C5 E5 G5 C6"
    "G3 B3 D4|G4 B4 D5 G5")
set(parts)
set(i 0)
foreach(chord IN LISTS chords)
    string(REPLACE "|" ";" halves "${chord}")
    list(GET halves 0 padNotes)
    list(GET halves 1 arpNotes)
    separate_arguments(padNotes)
    separate_arguments(arpNotes)
    set(padGen)
    foreach(n IN LISTS padNotes)
        list(APPEND padGen sine ${n})
    endforeach()
    set(arpGen)
    foreach(rep 1 2)
        foreach(n IN LISTS arpNotes)
            list(APPEND arpGen pluck ${n})
        endforeach()
    endforeach()
    sox(${rate} -c 3 -n -c 2 -b 16 "${WORK}/pad${i}.wav"
        synth 4 ${padGen} remix 1,2,3 1,2,3 tremolo 0.5 30 fade t 0.8 4 0.8 vol 0.25)
    sox(${rate} -c 8 -n -c 2 -b 16 "${WORK}/arp${i}.wav"
        synth 4 ${arpGen} delay 0 0.5 1 1.5 2 2.5 3 3.5 remix 1,3,5,7 2,4,6,8 trim 0 4 vol 0.3)
    sox(-m "${WORK}/pad${i}.wav" "${WORK}/arp${i}.wav" "${WORK}/chord${i}.wav")
    list(APPEND parts "${WORK}/chord${i}.wav")
    math(EXPR i "${i} + 1")
endforeach()
sox(${parts} "${WORK}/loop.wav" reverb 40 50 80 trim 0 16 fade t 0.2 16 0.6 norm -4)
execute_process(COMMAND "${SOX}" -R "${WORK}/loop.wav" -C 128 "${WORK}/00.mp3" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "soundgen: sox cannot write MP3 (${err}); install libsox-fmt-mp3 (scripts/setup-deps.sh)")
endif()

foreach(f 00.mp3 01.wav 02.wav 03.wav 04.wav)
    file(COPY_FILE "${WORK}/${f}" "${OUT}/${f}")
endforeach()
