# ns per HashMem call against block size, bridge and floor, from bench/run's CSV.
# gnuplot -e "csv='bench/results/floor.csv'; png='bench/results/floor.png'" bench/floor.gp
set terminal pngcairo size 900,600 font ",10"
set output png
set datafile separator ","
set logscale xy
set xlabel "block size (bytes)"
set ylabel "ns per call"
set format x "%.0s%cB"
set format y "10^{%L}"
set grid
set key top left
set title "HashMem: bridge and hand-written floor (JDK 17, stand-in)"
rows(cls) = sprintf("< grep '^%s,HashMem' %s", cls, csv)
plot rows("final") using 3:4 with linespoints lw 2 pt 7 title "bridge, final record classes", \
     rows("final") using 3:5 with linespoints lw 2 pt 6 dt 2 title "floor, final record classes", \
     rows("non-final") using 3:4 with linespoints lw 2 pt 5 title "bridge, non-final record classes", \
     rows("non-final") using 3:5 with linespoints lw 2 pt 4 dt 2 title "floor, non-final record classes"
