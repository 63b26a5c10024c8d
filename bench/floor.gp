# From bench/run's CSV: ns per HashMem call against block size, bridge and floor (top), and the
# ratio bridge / floor of every HashMem case (bottom), on log scales.
# gnuplot -e "csv='bench/results/floor.csv'; png='bench/results/floor.png'" bench/floor.gp
set terminal pngcairo size 900,900 font ",10"
set output png
set datafile separator ","
rows(cls) = sprintf("< grep '^%s,HashMem' %s", cls, csv)
set multiplot layout 2,1
set logscale xy
set xlabel "block size (bytes)"
set format x "%.0s%cB"
set grid
set key top left
set title "HashMem: bridge and hand-written floor (JDK 17, stand-in)"
set ylabel "ns per call"
set format y "10^{%L}"
plot rows("final") using 3:4 with linespoints lw 2 pt 7 title "bridge, final record classes", \
     rows("final") using 3:5 with linespoints lw 2 pt 6 dt 2 title "floor, final record classes", \
     rows("non-final") using 3:4 with linespoints lw 2 pt 5 title "bridge, non-final record classes", \
     rows("non-final") using 3:5 with linespoints lw 2 pt 4 dt 2 title "floor, non-final record classes"
set title "bridge / floor"
set ylabel "ratio"
unset logscale y
set format y "%.2f"
set yrange [0.8:*]
set key top right
plot rows("final") using 3:6 with linespoints lw 2 pt 7 title "final record classes", \
     rows("non-final") using 3:6 with linespoints lw 2 pt 5 title "non-final record classes", \
     1 with lines lc "black" dt 3 notitle
unset multiplot
